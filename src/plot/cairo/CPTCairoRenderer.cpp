// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/cairo/CPTCairoRenderer.hpp"

#include "plot/CPTGraphHostingView.hpp"
#include "plot/CPTInvalidArgumentException.hpp"
#include "plot/cairo/CPTCairoContext.hpp"
#include "plot/cairo/CPTPangoTextMetrics.hpp"
#include "plot/cairo/CPTPngWriter.hpp"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

namespace quorvel {

namespace {

std::string extensionOf(const std::string& path)
{
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find_first_of('/', dot) != std::string::npos) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return extension;
}

void checkStatus(cairo_status_t status, const std::string& path)
{
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("Cannot write " + path + ": " + cairo_status_to_string(status));
    }
}

// Every layer draws straight into the page: no layer keeps an image of its own, so a large page
// costs little more than the page itself.
// Text is drawn with Pango: unless a graph was given other metrics, it is measured with Pango too.
void measureWithPango(const CPTGraphHostingView& host)
{
    if (host.hostedGraph()) {
        CPTPangoTextMetrics::useFor(*host.hostedGraph());
    }
}

void drawHosts(const std::vector<CPTCairoRenderer::PlacedHost>& hosts, cairo_t* cr)
{
    for (const auto& placed : hosts) {
        cairo_save(cr);
        cairo_translate(cr, placed.x, placed.y);
        CPTCairoContext context(cr);
        placed.host->drawVectorsInContext(context);
        cairo_restore(cr);
    }
}

void writeVector(const std::vector<CPTCairoRenderer::PlacedHost>& hosts, CairoSurfaceHandle surface,
                 const std::string& path)
{
    checkStatus(cairo_surface_status(surface.get()), path);
    {
        CairoHandle cr(cairo_create(surface.get()));
        drawHosts(hosts, cr.get());
        cairo_show_page(cr.get());
    }
    cairo_surface_finish(surface.get());
    checkStatus(cairo_surface_status(surface.get()), path);
}

}  // namespace

void CPTCairoRenderer::renderHost(CPTGraphHostingView& host, cairo_t* cr)
{
    measureWithPango(host);
    CPTCairoContext context(cr);
    host.drawInContext(context);
}

void CPTCairoRenderer::renderHostToSurface(CPTGraphHostingView& host, cairo_surface_t* surface)
{
    CairoHandle cr(cairo_create(surface));
    cairo_scale(cr.get(), host.screenScale(), host.screenScale());
    renderHost(host, cr.get());
    cairo_surface_flush(surface);
}

void CPTCairoRenderer::writeHostToFile(CPTGraphHostingView& host, const std::string& path, double scale)
{
    writeHostsToFile({PlacedHost{&host, 0.0, 0.0}}, path, host.bounds().width(), host.bounds().height(), scale);
}

void CPTCairoRenderer::writeHostsToFile(const std::vector<PlacedHost>& hosts, const std::string& path, double width,
                                        double height, double scale)
{
    for (const auto& placed : hosts) {
        measureWithPango(*placed.host);
    }
    const std::string extension = extensionOf(path);
    if (extension == "png") {
        const double s = scale > 0.0 ? scale : 1.0;
        CairoSurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(std::ceil(width * s)),
                                                              static_cast<int>(std::ceil(height * s))));
        checkStatus(cairo_surface_status(surface.get()), path);
        {
            CairoHandle cr(cairo_create(surface.get()));
            cairo_scale(cr.get(), s, s);
            for (const auto& placed : hosts) {
                placed.host->setScreenScale(s);  // text still lands on whole pixels
            }
            drawHosts(hosts, cr.get());
        }
        CPTPngWriter::write(surface.get(), path);
    } else if (extension == "svg") {
        writeVector(hosts, CairoSurfaceHandle(cairo_svg_surface_create(path.c_str(), width, height)), path);
    } else if (extension == "pdf") {
        writeVector(hosts, CairoSurfaceHandle(cairo_pdf_surface_create(path.c_str(), width, height)), path);
    } else {
        throw CPTInvalidArgumentException("Unsupported chart file type (use .png, .svg or .pdf): " + path);
    }
}

void CPTCairoRenderer::writeGraphToFile(const std::shared_ptr<CPTGraph>& graph, const std::string& path, double width,
                                        double height, double scale)
{
    CPTGraphHostingView host(CPTRect::make(0.0, 0.0, width, height));
    host.setHostedGraph(graph);
    writeHostToFile(host, path, scale);
    host.setHostedGraph(nullptr);
}

}  // namespace quorvel
