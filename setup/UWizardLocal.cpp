// Temporary stand-ins while discovery and the runner are being written.
#ifdef TESSEL_WIZARD_LOCAL
#include "common/UDiscovery.h"
#include "script/UScript.h"
void FindBorlandProducts() {}
TScript::TScript() {}
TScript::~TScript() {}
int TScript::Start() { return 0; }
int TScript::Count() const { return 0; }
int TScript::ProgressCount() const { return 0; }
void TScript::ItemText(std::wstring&) const {}
int TScript::ItemDoScript() { return 0; }
#endif
