#include "platform/Errors.h"

#include "platform/IoError.h"

namespace zolbin {

EInOutError::EInOutError(int code) : EZolbinError(ioErrorText(code)), code_(code) {}

} // namespace zolbin
