// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/HistoryTransfer.hpp"

#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/BackupSettings.hpp"
#include "engine/CAppController.hpp"
#include "engine/HistoryExport.hpp"
#include "engine/HistoryFileReader.hpp"
#include "engine/VnstatHistory.hpp"
#include "platform/Assert.hpp"
#include "platform/StoredFile.hpp"
#include "platform/Translation.hpp"

namespace quorvel {

namespace {

// A history file larger than this is not one `export` wrote: ten years of totals and three
// months of days come to some tens of kilobytes.
constexpr std::streamsize kMaxFileBytes = 16 << 20;

std::optional<std::string> readFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::string(_("it cannot be opened"));
    }
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) {
        return std::string(_("it cannot be read"));
    }
    text = s.str();
    if (static_cast<std::streamsize>(text.size()) > kMaxFileBytes) {
        return std::string(_("it is far larger than any history file"));
    }
    return std::nullopt;
}

HistoryFileReader::Read readSource(const HistoryTransfer::Source& source)
{
    HistoryFileReader::Read read;
    if (source.format == HistoryTransfer::Format::Vnstat) {
        read.error = VnstatHistory::read(source.path, source.interface, read.history);
        return read;
    }
    std::string text;
    if (std::optional<std::string> why = readFile(source.path, text)) {
        read.error = *why;
        return read;
    }
    return source.format == HistoryTransfer::Format::Csv ? HistoryFileReader::fromCsv(text)
                                                          : HistoryFileReader::fromJson(text);
}

}  // namespace

HistoryTransfer::Format HistoryTransfer::formatOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char head[16] = {};
    in.read(head, sizeof head);
    if (in.gcount() == sizeof head && std::memcmp(head, "SQLite format 3", sizeof head) == 0) {
        return Format::Vnstat;
    }
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
        if (head[i] != ' ' && head[i] != '\n' && head[i] != '\r' && head[i] != '\t') {
            return head[i] == '{' || head[i] == '[' ? Format::Json : Format::Csv;
        }
    }
    return Format::Json;
}

HistoryTransfer::Outcome HistoryTransfer::importInto(CAppController& app, const Source& source, bool withSettings,
                                                     bool dryRun)
{
    QV_REQUIRE(!app.isFirstStart(), "importInto: the app is set up before a history is imported");
    Outcome out;
    const HistoryFileReader::Read read = readSource(source);
    if (!read.error.empty()) {
        out.refusal = read.error;
        return out;
    }
    std::optional<BackupSettings> settings;
    if (withSettings) {
        if (!read.settings) {
            out.refusal = _("it holds no settings (an export of an older version, or not JSON)");
            return out;
        }
        if (!(settings = BackupSettings::read(*read.settings, out.refusal))) {
            return out;
        }
    }
    if (std::optional<std::string> why = HistoryImport::refusal(read.history, app.today())) {
        out.refusal = *why;
        return out;
    }
    if (dryRun) {
        out.plan = HistoryImport::plan(app.pmodule()->history(), read.history);
        return out;
    }
    app.withStateLock([&](CTrafficManager& m) {
        // Planned under the lock, on the history as another process may just have saved it.
        out.plan = HistoryImport::plan(m.history(), read.history);
        HistoryImport::apply(m.history(), out.plan);
        if (settings) {
            settings->applyTo(app, m);
        }
    });
    return out;
}

std::optional<std::string> HistoryTransfer::exportTo(const CAppController& app, const std::string& path)
{
    StoredFile file(path);
    if (file.write(HistoryExport::json(app).dump(2) + "\n")) {
        return std::nullopt;
    }
    return file.problem().value_or(_("it cannot be written"));
}

}  // namespace quorvel
