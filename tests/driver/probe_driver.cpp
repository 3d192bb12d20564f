#include "tests/driver/probe_driver.h"

namespace qarvex::testing {

QARVEX_DEFINE_DRIVER_CLASS(TProbeDriver, driver::TCommonDriver,
                           &driver::CreateDriverObject<TProbeDriver>, nullptr)

}  // namespace qarvex::testing
