// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/gtk/FPrefHistoryTransfer.hpp"

#include <giomm/file.h>
#include <gtkmm/filechoosernative.h>
#include <gtkmm/dialog.h>
#include <gtkmm/filefilter.h>
#include <gtkmm/window.h>

#include "engine/AppActions.hpp"
#include "engine/VnstatHistory.hpp"
#include "ui/settings/HistoryTexts.hpp"

namespace quorvel {

namespace {

constexpr const char* kCancel = "cancel";
constexpr const char* kClose = "close";
constexpr const char* kImport = "import";

Glib::RefPtr<Gtk::FileFilter> filter(const char* name, std::initializer_list<const char*> patterns)
{
    auto f = Gtk::FileFilter::create();
    f->set_name(Translation::tr(name));
    for (const char* p : patterns) {
        f->add_pattern(p);
    }
    return f;
}

}  // namespace

FPrefHistoryTransfer::FPrefHistoryTransfer(AppActions& app, std::function<Gtk::Window*()> window)
    : app_(app),
      window_(std::move(window)),
      chooser_([this](Gtk::Window*, Purpose purpose, const std::string& suggested, Chosen chosen) {
          chooseWith(purpose, suggested, std::move(chosen));
      })
{
}

FPrefHistoryTransfer::~FPrefHistoryTransfer()
{
    if (native_) {
        native_->hide();
    }
}

Gtk::Window* FPrefHistoryTransfer::parent() const
{
    return window_ ? window_() : nullptr;
}

void FPrefHistoryTransfer::importSelected()
{
    chooser_(parent(), Purpose::Import, "", [this](std::optional<std::string> path) {
        if (path) {
            importChosen(*path);
        }
    });
}

void FPrefHistoryTransfer::exportSelected()
{
    chooser_(parent(), Purpose::Export, HistoryTexts::exportName(app_.today()),
             [this](std::optional<std::string> path) {
                 if (path) {
                     exportChosen(*path);
                 }
             });
}

void FPrefHistoryTransfer::chooseWith(Purpose purpose, const std::string& suggestedName, Chosen chosen)
{
    const bool importing = purpose == Purpose::Import;
    native_ = Gtk::FileChooserNative::create(
        Translation::tr(importing ? HistoryTexts::kChooseImport : HistoryTexts::kChooseExport),
        importing ? Gtk::FileChooser::Action::OPEN : Gtk::FileChooser::Action::SAVE,
        Translation::tr(importing ? HistoryTexts::kImport : HistoryTexts::kExport), Translation::tr(HistoryTexts::kCancel));
    if (Gtk::Window* window = parent()) {
        native_->set_transient_for(*window);
    }
    native_->set_modal(true);
    if (importing) {
        native_->add_filter(filter(HistoryTexts::kFilterHistory, {"*.json", "*.csv", "*.db"}));
        native_->add_filter(filter(HistoryTexts::kFilterAll, {"*"}));
    } else {
        native_->set_current_name(suggestedName);
    }
    native_->signal_response().connect([this, chosen = std::move(chosen)](int response) {
        std::optional<std::string> path;
        if (response == static_cast<int>(Gtk::ResponseType::ACCEPT)) {
            if (const Glib::RefPtr<Gio::File> file = native_->get_file(); file && !file->get_path().empty()) {
                path = file->get_path();
            }
        }
        chosen(path);
    });
    native_->show();
}

void FPrefHistoryTransfer::importChosen(const std::string& path)
{
    if (HistoryTransfer::formatOf(path) == HistoryTransfer::Format::Vnstat) {
        if (const std::vector<std::string> names = VnstatHistory::interfaceNames(path); names.size() > 1) {
            askInterface(path, names);
            return;
        }
    }
    askImport(path, std::nullopt);
}

void FPrefHistoryTransfer::askInterface(const std::string& path, const std::vector<std::string>& names)
{
    std::vector<FPrefConfirmation::Response> responses{{kCancel, Translation::tr(HistoryTexts::kCancel)}};
    for (std::size_t i = 0; i < names.size(); ++i) {
        responses.push_back({"interface-" + std::to_string(i), names[i]});
    }
    question_.ask(parent(), Translation::tr(HistoryTexts::kWhichInterface),
                  Translation::tr(HistoryTexts::kWhichInterfaceBody), responses,
                  [this, path, names](const std::string& response) {
                      for (std::size_t i = 0; i < names.size(); ++i) {
                          if (response == "interface-" + std::to_string(i)) {
                              askImport(path, names[i]);
                          }
                      }
                  });
}

void FPrefHistoryTransfer::askImport(const std::string& path, const std::optional<std::string>& interface)
{
    const HistoryTransfer::Outcome planned = app_.importHistory(path, interface, true);
    if (!planned.refusal.empty()) {
        tell(HistoryTexts::kCannotImport, HistoryTexts::refusal(planned.refusal));
    } else if (planned.plan.changesNothing()) {
        tell(HistoryTexts::kNothing, Translation::tr(HistoryTexts::kNothingBody));
    } else {
        question_.ask(parent(), Translation::tr(HistoryTexts::kAskImport), HistoryTexts::summary(planned.plan),
                      {{kCancel, Translation::tr(HistoryTexts::kCancel)}, {kImport, Translation::tr(HistoryTexts::kImport)}},
                      [this, path, interface](const std::string& response) {
                          if (response == kImport) {
                              runImport(path, interface);
                          }
                      },
                      kImport);
    }
}

void FPrefHistoryTransfer::runImport(const std::string& path, const std::optional<std::string>& interface)
{
    // Planned again inside the change: another process may have booked since the question.
    const HistoryTransfer::Outcome done = app_.importHistory(path, interface, false);
    if (!done.refusal.empty()) {
        tell(HistoryTexts::kCannotImport, HistoryTexts::refusal(done.refusal));
    } else {
        tell(HistoryTexts::kImported, HistoryTexts::summary(done.plan));
    }
}

void FPrefHistoryTransfer::exportChosen(const std::string& path)
{
    if (const std::optional<std::string> why = app_.exportHistory(path)) {
        tell(HistoryTexts::kCannotExport, HistoryTexts::exportFailed(*why));
    } else {
        tell(HistoryTexts::kExported, HistoryTexts::exported(path));
    }
}

void FPrefHistoryTransfer::tell(const char* title, const std::string& body)
{
    question_.ask(parent(), Translation::tr(title), body,
                  {{kClose, Translation::tr(HistoryTexts::kClose)}}, nullptr);
}

}  // namespace quorvel
