#pragma once
// One place for the stub's version: the resource script and the code read it.
#define KAVRIX_VERSION_BINARY 1,0,0,1
#define KAVRIX_VERSION_TEXT "1.0.0.1"
