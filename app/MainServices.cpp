#include "app/MainServices.h"

namespace qv {

namespace {
MainServices* installed = nullptr;
}

MainServices* mainServices() { return installed; }
void setMainServices(MainServices* services) { installed = services; }

}  // namespace qv
