// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>

namespace quorvel {

class CODialog;

// The self-drawn value prompt a screen has open, if any: what the prompt handed over through
// setownAlertView, read by the screen's Apply callback and taken away when answered.
class FPrefOpenPrompt {
public:
    FPrefOpenPrompt() = default;
    FPrefOpenPrompt(const FPrefOpenPrompt&) = delete;
    FPrefOpenPrompt& operator=(const FPrefOpenPrompt&) = delete;
    // A screen that goes leaves no prompt calling back into it.
    ~FPrefOpenPrompt();

    void set(std::shared_ptr<CODialog> dialog) { dialog_ = std::move(dialog); }
    bool isOpen() const { return dialog_ != nullptr; }
    CODialog* dialog() const { return dialog_.get(); }
    // The text of the prompt's field, or `fallback` when no prompt (or no field) is open.
    std::string text(const std::string& fallback) const;
    // Hides the prompt (animated) and forgets it.
    void close();

private:
    std::shared_ptr<CODialog> dialog_;
};

}  // namespace quorvel
