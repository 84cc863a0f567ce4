// Shoots every screen at the device pixel ratio it runs at and writes the
// shots to the folder given, for the HiDPI test to compare with.
#include <QApplication>

#include "EveryScreen.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    return wd::test::WriteShots(wd::test::ShootEveryScreen(), QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
