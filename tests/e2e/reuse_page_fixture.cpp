// The walkthroughs use the page tests' emulator process wrapper (CApsim), their waiting helpers
// and the private network namespace: one copy of that code, compiled into this program too.
#include "pages/page_fixture.cpp"
