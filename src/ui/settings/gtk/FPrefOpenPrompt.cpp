// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefOpenPrompt.hpp"

#include "ui/dialog/gtk/CODialog.hpp"

namespace quorvel {

FPrefOpenPrompt::~FPrefOpenPrompt()
{
    if (dialog_) {
        dialog_->hideAnimated(false);
    }
}

std::string FPrefOpenPrompt::text(const std::string& fallback) const
{
    if (!dialog_ || dialog_->textFields().empty()) {
        return fallback;
    }
    return dialog_->textForTextFieldAtIndex(0);
}

void FPrefOpenPrompt::close()
{
    if (auto dialog = std::move(dialog_)) {
        dialog->hideAnimated(true);
    }
}

}  // namespace quorvel
