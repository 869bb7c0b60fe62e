// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

class CPTAxisSet;
class CPTGraph;
class CPTPlotAreaFrame;

// A named look applied to a whole graph in one call. Themes are found by name through a
// registry of theme classes; "Dark Gradients" is built in.
class CPTTheme {
public:
    using Factory = std::function<std::unique_ptr<CPTTheme>()>;

    virtual ~CPTTheme() = default;

    // A new theme of the registered class with that name; nullptr when there is none.
    static std::unique_ptr<CPTTheme> themeNamed(const std::string& name);
    // Registers a theme class; a class name registered twice is a programming error.
    static void registerThemeClass(const std::string& className, const std::string& themeName, Factory factory);
    // Takes a registered theme class back (a plug-in that goes away); whether it was registered.
    static bool unregisterThemeClass(const std::string& className);
    // Registered class names, sorted case-insensitively.
    static std::vector<std::string> themeClasses();

    virtual std::string name() const = 0;

    // Class of the graphs `newGraph` makes: a proper subclass of CPTGraph ("CPTXYGraph").
    const std::optional<std::string>& graphClass() const { return graphClass_; }
    void setGraphClass(const std::string& className);
    // A 200 x 200 graph of the graph class with padding 60, ranges -1 .. 0, this theme applied.
    std::shared_ptr<CPTGraph> newGraph() const;

    void applyThemeToGraph(CPTGraph& graph) const;
    virtual void applyThemeToBackground(CPTGraph& graph) const = 0;
    virtual void applyThemeToPlotArea(CPTPlotAreaFrame& plotAreaFrame) const = 0;
    virtual void applyThemeToAxisSet(CPTAxisSet& axisSet) const = 0;

private:
    std::optional<std::string> graphClass_;
};

}  // namespace quorvel
