#include "plot/CPTTextMetrics.hpp"

#include "plot/CPTFixedTextMetrics.hpp"

namespace quorvel {

namespace {

struct SharedMetrics {
    std::shared_ptr<const CPTTextMetrics> metrics = std::make_shared<CPTFixedTextMetrics>();
    unsigned generation = 0;
};

SharedMetrics& sharedMetrics()
{
    static SharedMetrics instance;
    return instance;
}

}  // namespace

const CPTTextMetrics& CPTTextMetrics::shared()
{
    return *sharedMetrics().metrics;
}

void CPTTextMetrics::setShared(std::shared_ptr<const CPTTextMetrics> metrics)
{
    if (!metrics) {
        metrics = std::make_shared<CPTFixedTextMetrics>();
    }
    sharedMetrics().metrics = std::move(metrics);
    ++sharedMetrics().generation;
}

unsigned CPTTextMetrics::generation()
{
    return sharedMetrics().generation;
}

}  // namespace quorvel
