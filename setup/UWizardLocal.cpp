// Temporary stand-in while discovery is being written.
#ifdef TESSEL_WIZARD_LOCAL
#include "common/UDiscovery.h"
void FindBorlandProducts() {}
#endif
