#pragma once
#include <memory>

#include <gtkmm/box.h>

#include "ui/ScreenContext.hpp"
#include "ui/TabScreen.hpp"

namespace quorvel {

// Tab screen "Locations" (being built).
class LocationViewController final : public TabScreen {
public:
    explicit LocationViewController(ScreenContext& context);
    Gtk::Widget& widget() override { return root_; }
    std::string title() const override { return "Locations"; }

private:
    ScreenContext& context_;
    Gtk::Box root_;
};

}  // namespace quorvel
