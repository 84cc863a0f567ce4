#include <gtest/gtest.h>

#include <QUrl>
#include <QUrlQuery>

#include "game/ScoreAddress.h"

using namespace wd;

TEST(ScoreAddress, CarriesTheFiguresInTheirOrderEmptyOrNegativeAlike)
{
    EXPECT_EQ(ScoreUploadAddress({QStringLiteral("glintora"), QStringLiteral("pw"), 120000, QStringLiteral("Kessa"), 5000}),
              QStringLiteral("http://www.xinglan.example/asp/wending/saveresult.asp?userid=glintora&passwd=pw"
                             "&playercash=120000&provider=Kessa&providercash=5000"));
    EXPECT_TRUE(ScoreUploadAddress({QString(), QString(), -5, QString(), 0})
                    .endsWith(QStringLiteral("?userid=&passwd=&playercash=-5&provider=&providercash=0")));
}

TEST(ScoreAddress, ValuesThatWouldSplitTheQueryArriveIntact)
{
    const QString password = QStringLiteral("a&b=c#d%e+f g");
    const QString provider = QStringLiteral("叶子~_.-");
    const QString a = ScoreUploadAddress({QStringLiteral("用户 1"), password, 1, provider, 2});
    EXPECT_TRUE(a.contains(QStringLiteral("passwd=a%26b%3Dc%23d%25e%2Bf%20g&")));
    EXPECT_TRUE(a.contains(QStringLiteral("provider=%E5%8F%B6%E5%AD%90~_.-&"))) << "UTF-8 bytes, capital hex";

    // What the site reads back is exactly what was typed.
    const QUrlQuery q(QUrl(a, QUrl::StrictMode));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("passwd"), QUrl::FullyDecoded), password);
    EXPECT_EQ(q.queryItemValue(QStringLiteral("provider"), QUrl::FullyDecoded), provider);
    EXPECT_EQ(q.queryItemValue(QStringLiteral("userid"), QUrl::FullyDecoded), QStringLiteral("用户 1"));
    EXPECT_EQ(q.queryItems().size(), 5);
}
