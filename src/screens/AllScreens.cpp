#include "screens/AllScreens.h"

#include "screens/help/FrmHelp.h"
#include "ui/Screens.h"

namespace wd {

void RegisterAllScreens(Screens& screens)
{
    screens.Register<FrmHelp>();
}

} // namespace wd
