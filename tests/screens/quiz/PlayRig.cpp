#include "PlayRig.h"

namespace wd::test {

PlayRig::PlayRig() : rig(file.File())
{
    rig.screens.Register<FrmStart>();
    rig.screens.Register<Frmmain>();
    rig.screens.Register<StandIn<ScreenId::FrmCountUp>>();
    rig.screens.Register<StandIn<ScreenId::FrmExplosion>>();
    rig.screens.Register<StandIn<ScreenId::FrmSaveMoney>>();
    rig.screens.Register<StandIn<ScreenId::FrmHelp>>();
    rig.screens.Show(ScreenId::FrmStart);
}

void PlayRig::SignIn(const QString& id)
{
    start().edit("TxtUserId")->setText(id);
    start().button("CmdStart")->click();
}

void PlayRig::StartGame(int first)
{
    SignIn();
    rig.random.Push(RFor(first, 159));
    for (int id = 20; id <= 159; ++id) rig.random.Push(RFor(id, 159));
    quiz()->button("CmdStart")->click();
}

QString PlayRig::AnswerShown()
{
    const QStringList words = Caption("Lblquestion").split(QLatin1Char(' '));
    return (words.value(0) == QStringLiteral("easy") ? QStringLiteral("e") : QStringLiteral("a")) + words.value(1);
}

void PlayRig::Answer(const QString& text)
{
    TextBox* box = quiz()->edit("Txtanswer");
    box->clear();
    box->insert(text); // as typed or committed by an input method
    QTest::keyClick(box, Qt::Key_Return);
}

} // namespace wd::test
