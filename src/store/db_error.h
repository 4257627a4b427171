#pragma once
// The one error of the store: every failure of a database, an Access file or the figure
// server names the file (or the server, its password removed) and carries the engine's
// message.
#include <stdexcept>
#include <string>
#include <utility>

namespace zt::store {

class DbError : public std::runtime_error {
public:
    DbError(std::string file, std::string message)
        : std::runtime_error(file.empty() ? message : file + ": " + message),
          file_(std::move(file)),
          message_(std::move(message)) {}
    const std::string& file() const { return file_; }
    const std::string& message() const { return message_; }

private:
    std::string file_;
    std::string message_;
};

}  // namespace zt::store
