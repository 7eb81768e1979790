#include "net/InetHTTP.h"

namespace {
bool g_downloadAbort = false;
}

void SetDownloadAbort(bool abort) { g_downloadAbort = abort; }

bool IsDownloadAborted() { return g_downloadAbort; }
