// What an entry's text names: a web address, a program (which runs as a
// process of its own, so its running copies can be found), or a document.
#pragma once

#include <string>

namespace vantrel {

// An entry is a web address when its upper-cased text holds "HTTP".
bool IsWebEntry(const std::string& entry);
// A program has a process of its own to find: a path to an .exe or .com file.
// Documents and web addresses have none.
bool IsProgramEntry(const std::string& entry);

}  // namespace vantrel
