#pragma once
// The first disk of a spanned package: hand the setup over to a copy in the
// setup temp folder, so that no running program holds the disk drive.

// Copies the program to the setup temp folder as Y_ + its name and starts the
// copy hidden as the span copy; does not wait, reports nothing.
void RunSpanLauncher();
