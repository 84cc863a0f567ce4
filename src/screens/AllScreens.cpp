#include "screens/AllScreens.h"

#include "screens/entry/FrmSaveMoney.h"
#include "screens/entry/FrmStart.h"
#include "screens/help/FrmHelp.h"
#include "screens/quiz/Frmmain.h"
#include "ui/Screens.h"

namespace wd {

void RegisterAllScreens(Screens& screens)
{
    screens.Register<FrmStart>();
    screens.Register<Frmmain>();
    screens.Register<FrmSaveMoney>();
    screens.Register<FrmHelp>();
}

} // namespace wd
