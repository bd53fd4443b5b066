// The engine's one error type. A file that cannot be opened or read raises it;
// it ends the running operation and is caught in one place in the shell, which
// shows its text in a message box and lets the game go on.
#pragma once

#include <stdexcept>
#include <string>

class EGameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "Cannot open file "<name>". <reason>": the text the open error carries.
EGameError MakeOpenError(const std::string& name, const std::string& reason);
