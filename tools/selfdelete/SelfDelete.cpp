// Ends at once after starting the batch that deletes its own file; with
// /folder the batch removes the program's folder too when it is then empty.
#include "util/Files.h"
#include "util/Utils.h"

int main() {
  RestrictDllSearch();
  DeleteMySelf(HasSwitch("/folder"));
  return 0;
}
