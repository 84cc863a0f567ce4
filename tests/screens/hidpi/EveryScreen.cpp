#include "EveryScreen.h"

#include <QDataStream>
#include <QFile>
#include <QMap>
#include <QPixmap>

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

// Found by argument-dependent lookup from QMap's streaming, so not in an unnamed namespace.
static QDataStream& operator<<(QDataStream& s, const ControlPlace& p) { return s << p.rect << p.labelBack << p.hasText; }
static QDataStream& operator>>(QDataStream& s, ControlPlace& p) { return s >> p.rect >> p.labelBack >> p.hasText; }
static QDataStream& operator<<(QDataStream& s, const ScreenShot& shot)
{
    return s << shot.grab << shot.ratio << QMap<QString, ControlPlace>(shot.controls);
}
static QDataStream& operator>>(QDataStream& s, ScreenShot& shot)
{
    QMap<QString, ControlPlace> controls;
    s >> shot.grab >> shot.ratio >> controls;
    shot.controls = controls.toStdMap();
    return s;
}

bool WriteShots(const std::map<QString, ScreenShot>& shots, const QString& folder)
{
    QFile file(folder + QStringLiteral("/shots.bin"));
    if (!file.open(QIODevice::WriteOnly)) return false;
    QDataStream out(&file);
    out << QMap<QString, ScreenShot>(shots);
    return out.status() == QDataStream::Ok;
}

std::map<QString, ScreenShot> ReadShots(const QString& folder)
{
    QFile file(folder + QStringLiteral("/shots.bin"));
    QMap<QString, ScreenShot> shots;
    QDataStream in(&file);
    if (file.open(QIODevice::ReadOnly)) in >> shots;
    return shots.toStdMap();
}

} // namespace wd::test
