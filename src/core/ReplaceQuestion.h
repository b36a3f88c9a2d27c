#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The question asked before a file the user chose is written over.
inline std::string ReplaceQuestion(std::string_view fileName) {
  std::string question = "Είστε σίγουρος ότι θέλετε να αντικαταστήσετε το αρχείο ";
  question += fileName;
  question += ';';
  return question;
}

}  // namespace velmora
