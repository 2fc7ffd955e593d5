#include "cli/graphimages.h"

#include "journal/cquilloxdoc.h"
#include "qttext/uitext.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>

namespace {

// The screen the PNG stands for, and the printer the PDF stands for.
constexpr int screenDpi = 96;
constexpr double metresPerInch = 0.0254;
constexpr int printerDpi = 1200;

} // namespace

QByteArray screenGraphPng(const CQuilloxDoc &doc, Date selected, GraphPeriodState &period,
                          int width, int height, double scale, const GraphOverlays &overlays)
{
    QImage image(qRound(width * scale), qRound(height * scale), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    const int dotsPerMetre = qRound(screenDpi / metresPerInch);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(QGuiApplication::palette().color(QPalette::Base));
    {
        QPainter painter(&image);
        drawGraph(painter, doc, selected, period, QRect(0, 0, width, height), screenGraphK, false,
                  overlays);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QByteArray printedGraphPdf(const CQuilloxDoc &doc, Date selected, GraphPeriodState &period,
                           const GraphOverlays &overlays)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(printerDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(doc.graphSettings().paperOri == paperLandscape
                                      ? QPageLayout::Landscape
                                      : QPageLayout::Portrait);
        writer.setCreator(ui(applicationTitle));
        QPainter painter(&writer);
        drawGraph(painter, doc, selected, period, QRect(0, 0, writer.width(), writer.height()),
                  paperGraphK, true, overlays);
    }
    return pdf;
}
