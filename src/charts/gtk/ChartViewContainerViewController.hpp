#pragma once
#include <memory>

#include <gtkmm/box.h>

#include "ui/ScreenContext.hpp"
#include "ui/TabScreen.hpp"

namespace quorvel {

// Tab screen "Chart" (being built).
class ChartViewContainerViewController final : public TabScreen {
public:
    explicit ChartViewContainerViewController(ScreenContext& context);
    Gtk::Widget& widget() override { return root_; }
    std::string title() const override { return "Chart"; }

private:
    ScreenContext& context_;
    Gtk::Box root_;
};

}  // namespace quorvel
