// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <vector>

#include "engine/AppActions.hpp"
#include "model/SimRecord.hpp"
#include "platform/NotificationCenter.hpp"
#include "platform/glib/GObjectHandle.hpp"
#include "ui/settings/gtk/FPrefAdwPage.hpp"
#include "ui/settings/gtk/FPrefConfirmation.hpp"
#include "ui/settings/gtk/FPrefNavigationController.hpp"
#include "ui/ScreenContext.hpp"

typedef struct _AdwActionRow AdwActionRow;
typedef struct _AdwMessageDialog AdwMessageDialog;
typedef struct _AdwPreferencesGroup AdwPreferencesGroup;

namespace quorvel {

// "SIMs", pushed from the settings: every SIM this device has seen, by its name, the last four
// digits of its ICCID, its operator, when it was last seen and its plan; each can be renamed, and
// forgotten with its history after a confirmation.
class FPrefSimsViewController final : public FPrefNavigationController::Page {
public:
    static constexpr const char* kTitle = "SIMs";

    explicit FPrefSimsViewController(ScreenContext& context);
    FPrefSimsViewController(const FPrefSimsViewController&) = delete;
    FPrefSimsViewController& operator=(const FPrefSimsViewController&) = delete;
    ~FPrefSimsViewController() override;

    Gtk::Widget& widget() override { return page_.widget(); }
    std::string title() const override { return kTitle; }

    void reloadData();
    // The rows shown, in the SIMs' order; for tests and the screen reader's view.
    const std::vector<AdwActionRow*>& rows() const { return rows_; }
    // What a row says under the SIM's name: "…4567 · Tele Nord · seen 2026-12-10 · plan 5 GB".
    static std::string subtitle(const SimRecord& sim, const std::optional<std::uint64_t>& plan);
    void renameSelected(std::size_t index);
    void forgetSelected(std::size_t index);
    AdwMessageDialog* renameDialog() const { return rename_.get(); }
    FPrefConfirmation& forgetQuestion() { return forget_; }
    // The rename dialog's answer: the new name, or none for "Cancel".
    void renameAnswered(const std::optional<std::string>& name);

private:
    void rebuildRows();

    ScreenContext& context_;
    FPrefAdwPage page_;
    AdwPreferencesGroup* group_ = nullptr;  // owned by the column
    std::vector<AdwActionRow*> rows_;       // owned by the group
    AdwActionRow* empty_ = nullptr;
    std::vector<AppActions::KnownSim> shown_;
    GObjectHandle<AdwMessageDialog> rename_;
    GtkWidget* renameEntry_ = nullptr;  // owned by the dialog
    std::string renaming_;              // the key of the SIM being renamed
    FPrefConfirmation forget_;
    NotificationCenter::Registration dataChanged_;
};

}  // namespace quorvel
