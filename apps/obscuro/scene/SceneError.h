// The one error a scene can make: a message that names where in the scene it went wrong.
#pragma once

#include <stdexcept>
#include <string>

namespace obscuro::scene {

// Raised for anything wrong with the scene itself (unknown class, selector, object id, an
// argument of the wrong kind, a malformed section). The runner prints the message and exits 2.
class SceneError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace obscuro::scene
