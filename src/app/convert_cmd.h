#pragma once
// `zentoria convert SOURCE TARGET`: copies every table of an Access (Jet) file into a
// new SQLite file with the same table names, field names and rows, and prints the rows
// copied per table. The paths are taken as given (relative to the current folder).
#include <iosfwd>
#include <string>
#include <vector>

namespace zt::app {

// args: the command's own arguments (SOURCE and TARGET). Never throws: returns 0 when
// done, 1 when the copy failed (an existing TARGET is never overwritten), 2 when the
// arguments are wrong; messages go to `err` as "zentoria: ...".
int cmdConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zt::app
