#include "ui/FPrefTableViewController.hpp"

namespace quorvel {

FPrefTableViewController::FPrefTableViewController(ScreenContext& context) : context_(context) {}

}  // namespace quorvel
