// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/CPTTheme.hpp"

#include "plot/CPTAxisSet.hpp"
#include "plot/CPTDarkGradientsTheme.hpp"
#include "plot/CPTException.hpp"
#include "plot/CPTPlotAreaFrame.hpp"
#include "plot/CPTXYGraph.hpp"
#include "plot/CPTXYPlotSpace.hpp"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace quorvel {

namespace {

struct Registration {
    std::string themeName;
    CPTTheme::Factory factory;
};

struct Registry {
    std::mutex mutex;
    std::map<std::string, Registration> byClass;
};

Registry& registry()
{
    static Registry* instance = [] {
        auto* r = new Registry;  // lives for the whole process, like the classes it names
        r->byClass.emplace(CPTDarkGradientsTheme::kClassName,
                           Registration{CPTDarkGradientsTheme::kName, [] { return std::make_unique<CPTDarkGradientsTheme>(); }});
        return r;
    }();
    return *instance;
}

std::string lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

std::unique_ptr<CPTTheme> CPTTheme::themeNamed(const std::string& name)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const auto& [className, registration] : r.byClass) {
        if (registration.themeName == name) {
            return registration.factory();
        }
    }
    return nullptr;
}

void CPTTheme::registerThemeClass(const std::string& className, const std::string& themeName, Factory factory)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (r.byClass.contains(className)) {
        throw CPTException("Theme class already registered: " + className);
    }
    r.byClass.emplace(className, Registration{themeName, std::move(factory)});
}

bool CPTTheme::unregisterThemeClass(const std::string& className)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.byClass.erase(className) > 0;
}

std::vector<std::string> CPTTheme::themeClasses()
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    std::vector<std::string> names;
    for (const auto& [className, registration] : r.byClass) {
        names.push_back(className);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lowercase(a) < lowercase(b); });
    return names;
}

void CPTTheme::setGraphClass(const std::string& className)
{
    if (graphClass_ == className) {
        return;
    }
    if (className != "CPTXYGraph") {
        throw CPTException("Invalid graph class for theme; must be a subclass of CPTGraph");
    }
    graphClass_ = className;
}

std::shared_ptr<CPTGraph> CPTTheme::newGraph() const
{
    auto graph = std::make_shared<CPTXYGraph>(CPTRect::make(0.0, 0.0, 200.0, 200.0));
    graph->setPaddingLeft(60.0);
    graph->setPaddingTop(60.0);
    graph->setPaddingRight(60.0);
    graph->setPaddingBottom(60.0);
    auto* space = static_cast<CPTXYPlotSpace*>(graph->defaultPlotSpace());
    space->setXRange(CPTPlotRange(Decimal::fromInteger(-1), Decimal::fromInteger(1)));
    space->setYRange(CPTPlotRange(Decimal::fromInteger(-1), Decimal::fromInteger(1)));
    applyThemeToGraph(*graph);
    return graph;
}

void CPTTheme::applyThemeToGraph(CPTGraph& graph) const
{
    applyThemeToBackground(graph);
    applyThemeToPlotArea(*graph.plotAreaFrame());
    if (CPTAxisSet* axes = graph.axisSet()) {
        applyThemeToAxisSet(*axes);
    }
}

}  // namespace quorvel
