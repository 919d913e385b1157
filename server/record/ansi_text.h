// Names arrive in the client's single-byte Windows code page (1252, with
// the Estonian letters). Logs and game records are UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace lerva {

std::string ansiToUtf8(std::string_view ansi);

}  // namespace lerva
