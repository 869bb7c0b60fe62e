#include "ui/FViewController.hpp"

namespace quorvel {

FViewController::FViewController(ScreenContext& context) : context_(context) {}

}  // namespace quorvel
