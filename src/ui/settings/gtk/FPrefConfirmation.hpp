// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <adwaita.h>

#include "platform/glib/GObjectHandle.hpp"

namespace Gtk {
class Window;
}

namespace quorvel {

// A "Cancel"/"Reset" question before a reset, as a message dialog over the window. The answer
// comes back as the button index: 0 for "Cancel" (also Escape or closing), 1 for "Reset". Other
// questions and notices name their own responses.
class FPrefConfirmation {
public:
    using Answer = std::function<void(int buttonIndex)>;
    using Reply = std::function<void(const std::string& response)>;
    struct Response {
        std::string id;
        std::string label;
    };

    FPrefConfirmation() = default;
    FPrefConfirmation(const FPrefConfirmation&) = delete;
    FPrefConfirmation& operator=(const FPrefConfirmation&) = delete;
    // Closes a question still open, without an answer.
    ~FPrefConfirmation();

    // `action` names the button that goes ahead ("Reset", "Forget").
    void open(Gtk::Window* parent, const std::string& title, const std::string& message, Answer answer,
              const char* action = "Reset");
    // One message with `responses` in order, the first being what Escape or closing answers;
    // `suggested` is the default, `destructive` is marked so (either may be none).
    void ask(Gtk::Window* parent, const std::string& title, const std::string& message,
             const std::vector<Response>& responses, Reply reply, const char* suggested = nullptr,
             const char* destructive = nullptr);
    bool isOpen() const { return dialog_ != nullptr; }
    AdwMessageDialog* dialog() const { return dialog_.get(); }

private:
    static void responded(AdwMessageDialog* dialog, const char* response, gpointer self);
    void dismiss();

    GObjectHandle<AdwMessageDialog> dialog_;
    Reply reply_;
};

}  // namespace quorvel
