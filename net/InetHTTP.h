#pragma once
// Process-wide request to stop a running transfer: cleared by the caller before
// a transfer, set by the main window on a close request and when it ends.
void SetDownloadAbort(bool abort);
bool IsDownloadAborted();
