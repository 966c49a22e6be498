#pragma once
// Which device stands behind serial port n: an in-memory device attached by a test, else
// the device that a link named COM<n> in the current directory points to, else
// /dev/ttyS<n-1>.
namespace plat {

class Runtime;

class SerialRegistry {
 public:
  explicit SerialRegistry(Runtime& rt) : rt_(rt) {}

 private:
  Runtime& rt_;
};

}  // namespace plat
