// lerva-server --analyze FILE: a game record in, one JSON line per deal out.
#pragma once

#include <iosfwd>
#include <string>

namespace lerva::analysis {

// Checks the whole record first, so that a faulty one prints no analysis
// at all. Returns the exit status: 0, or 1 after a message on `err`.
int runAnalyze(const std::string& path, int threads, std::ostream& out, std::ostream& err);

}  // namespace lerva::analysis
