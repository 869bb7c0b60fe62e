#include "locations/gtk/LocationViewController.hpp"

namespace quorvel {

LocationViewController::LocationViewController(ScreenContext& context) : context_(context) {}

}  // namespace quorvel
