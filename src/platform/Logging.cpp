#include "platform/Logging.h"

namespace wd {

Q_LOGGING_CATEGORY(lcSound, "wd.sound")
Q_LOGGING_CATEGORY(lcBank, "wd.bank")

} // namespace wd
