#include "EveryScreen.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTextStream>

#include "fakes/BankFixture.h"
#include "fakes/ScreenRig.h"
#include "screens/AllScreens.h"
#include "ui/Screen.h"
#include "ui/Screens.h"

namespace wd::test {

namespace {

constexpr ScreenId kAll[] = {ScreenId::FrmStart, ScreenId::Frmmain, ScreenId::FrmCountUp,
                             ScreenId::FrmExplosion, ScreenId::FrmSaveMoney, ScreenId::FrmHelp};

bool IsControl(QWidget* w)
{
    return qobject_cast<Label*>(w) || qobject_cast<Button*>(w) || qobject_cast<TextBox*>(w)
        || qobject_cast<Frame*>(w) || qobject_cast<Shape*>(w);
}

ScreenShot Shoot(Screen& screen)
{
    ScreenShot shot;
    const QPixmap grab = screen.grab();
    shot.grab = grab.toImage();
    shot.ratio = grab.devicePixelRatio();
    for (QWidget* w : screen.findChildren<QWidget*>()) {
        if (!IsControl(w) || !w->isVisibleTo(&screen)) continue;
        ControlPlace place{QRect(w->mapTo(&screen, QPoint(0, 0)), w->size()), {}, false};
        if (auto* label = qobject_cast<Label*>(w)) {
            place.labelBack = label->BackColor();
            place.hasText = !label->text().trimmed().isEmpty();
        }
        shot.controls.emplace(w->objectName(), place);
    }
    return shot;
}

} // namespace

std::map<QString, ScreenShot> ShootEveryScreen()
{
    BankFixture file;
    ScreenRig rig(file.File());
    RegisterAllScreens(rig.screens);
    std::map<QString, ScreenShot> shots;
    for (ScreenId id : kAll) {
        Screen& screen = rig.screens.Load(id);
        shots.emplace(QString::fromLatin1(screen.metaObject()->className()).section(QStringLiteral("::"), -1), Shoot(screen));
    }
    return shots;
}

bool WriteShots(const std::map<QString, ScreenShot>& shots, const QString& folder)
{
    for (const auto& [name, shot] : shots) {
        if (!shot.grab.save(folder + u'/' + name + QStringLiteral(".png"))) return false;
        QFile list(folder + u'/' + name + QStringLiteral(".txt"));
        if (!list.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
        QTextStream out(&list);
        for (const auto& [control, place] : shot.controls) {
            const QRect& r = place.rect;
            out << control << ' ' << r.x() << ' ' << r.y() << ' ' << r.width() << ' ' << r.height() << ' '
                << (place.labelBack.isValid() ? place.labelBack.name() : QStringLiteral("-")) << ' '
                << int(place.hasText) << '\n';
        }
    }
    return true;
}

std::map<QString, ScreenShot> ReadShots(const QString& folder)
{
    std::map<QString, ScreenShot> shots;
    for (const QString& png : QDir(folder).entryList({QStringLiteral("*.png")})) {
        const QString name = png.chopped(4);
        ScreenShot& shot = shots[name];
        shot.grab = QImage(folder + u'/' + png);
        QFile list(folder + u'/' + name + QStringLiteral(".txt"));
        if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        QTextStream in(&list);
        while (!in.atEnd()) {
            const QStringList f = in.readLine().split(u' ');
            if (f.size() != 7) continue;
            shot.controls[f[0]] = {QRect(f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt()),
                                   f[5] == u"-" ? QColor() : QColor(f[5]), f[6] == u"1"};
        }
    }
    return shots;
}

} // namespace wd::test
