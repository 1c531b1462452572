// Linked into every test program, not into the support library: each program starts from
// empty preferences and puts the prefix's registry back as it was when it ends. A close of
// brumix.exe stores its options and history there, and so does any dialog made in process
// that loads them.
#include "support/registry_state.h"

namespace {

testing::Environment* const g_preferencesSandbox =
    testing::AddGlobalTestEnvironment(new registry::PreferencesSandbox);

}  // namespace
