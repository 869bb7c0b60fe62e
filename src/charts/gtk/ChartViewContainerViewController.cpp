#include "charts/gtk/ChartViewContainerViewController.hpp"

namespace quorvel {

ChartViewContainerViewController::ChartViewContainerViewController(ScreenContext& context) : context_(context) {}

}  // namespace quorvel
