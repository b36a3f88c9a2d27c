#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// The program's own error: its text is what the user is shown (UTF-8), either
// one of the program's Greek messages or a system reason.
class VelmoraError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Errors of the record table ("Field 'X' not found", "No Records", ...).
class DataSetError : public VelmoraError {
 public:
  using VelmoraError::VelmoraError;
};

}  // namespace velmora
