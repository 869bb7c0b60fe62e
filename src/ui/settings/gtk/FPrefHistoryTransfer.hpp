// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <glibmm/refptr.h>

#include "ui/settings/gtk/FPrefConfirmation.hpp"

namespace Gtk {
class FileChooserNative;
class Window;
}  // namespace Gtk

namespace quorvel {

class AppActions;

// The settings' "Import History…" and "Export History…": a file picked in the system's file
// chooser (the portal's in a sandbox), then for an import what it would change, asked before
// anything changes, and what it changed; for an export where the backup went. The rules are
// the command line's (the same reader, merge and refusals).
class FPrefHistoryTransfer {
public:
    enum class Purpose { Import, Export };
    using Chosen = std::function<void(std::optional<std::string> path)>;
    // Opens a file chooser over `parent` and answers with the file picked (none: cancelled).
    using Chooser =
        std::function<void(Gtk::Window* parent, Purpose purpose, const std::string& suggestedName, Chosen chosen)>;

    FPrefHistoryTransfer(AppActions& app, std::function<Gtk::Window*()> window);
    FPrefHistoryTransfer(const FPrefHistoryTransfer&) = delete;
    FPrefHistoryTransfer& operator=(const FPrefHistoryTransfer&) = delete;
    ~FPrefHistoryTransfer();

    void importSelected();
    void exportSelected();
    // Tests hand in a chooser that picks a file of theirs.
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    // The question or notice on show, for tests to read and answer; null when none is.
    AdwMessageDialog* dialog() const { return question_.dialog(); }

private:
    Gtk::Window* parent() const;
    void chooseWith(Purpose purpose, const std::string& suggestedName, Chosen chosen);
    void importChosen(const std::string& path);
    void askInterface(const std::string& path, const std::vector<std::string>& names);
    void askImport(const std::string& path, const std::optional<std::string>& interface);
    void runImport(const std::string& path, const std::optional<std::string>& interface);
    void exportChosen(const std::string& path);
    void tell(const char* title, const std::string& body);
    AppActions& app_;
    std::function<Gtk::Window*()> window_;
    Chooser chooser_;
    Glib::RefPtr<Gtk::FileChooserNative> native_;
    FPrefConfirmation question_;  // one question or notice at a time
};

}  // namespace quorvel
