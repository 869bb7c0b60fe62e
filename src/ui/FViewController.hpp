#pragma once
#include <memory>

#include <gtkmm/box.h>

#include "ui/ScreenContext.hpp"
#include "ui/TabScreen.hpp"

namespace quorvel {

// Tab screen "Data" (being built).
class FViewController final : public TabScreen {
public:
    explicit FViewController(ScreenContext& context);
    Gtk::Widget& widget() override { return root_; }
    std::string title() const override { return "Data"; }

private:
    ScreenContext& context_;
    Gtk::Box root_;
};

}  // namespace quorvel
