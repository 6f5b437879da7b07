// Saving the chart picture as a PNG file and printing it with the text copy beneath it.
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

#include "chart/text_forms.h"
#include "chart_drawing/text_table.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_layout.h"
#include "workbench/prompter.h"
#include "workbench/workbench.h"

namespace ui {

bool MainWindow::saveChartPicture(const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !chartPicture().save(&file, "PNG") || !file.commit()) {
        bench_.prompter().message(tr("卦图保存失败：") + path + QStringLiteral("\n") + file.errorString());
        return false;
    }
    return true;
}

void MainWindow::saveChartPictureAs() {
    const std::optional<QString> path = bench_.prompter().chooseSaveFile(
        tr("保存卦图"),
        bench_.caseNumberText().isEmpty() ? tr("卦图.png") : bench_.caseNumberText() + QStringLiteral(".png"),
        tr("PNG 图片 (*.png)"));
    if (path) saveChartPicture(*path);
}

bool MainWindow::printChart(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        bench_.prompter().message(tr("无法打印：打印机没有准备好。"));
        return false;
    }
    const QImage picture = chartPicture();
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(1.0 * page.width() / picture.width(), 1.0 * page.height() / picture.height());
    const QRectF pictureRect(0, 0, picture.width() * scale, picture.height() * scale);
    painter.drawImage(pictureRect, picture);

    // The text copy below it, as a table: its tabs would jump to the font's far tab stops.
    // WenQuanYi first: the PDF of a Noto CJK face gives ideographs that share a glyph with a
    // radical (水, 青, 母…) back as the radical, so the page's text would not copy or search.
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(main_layout::kPrintTextPoints);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const double em = main_layout::kPrintTextPoints * printer.resolution() / 72.0;
    const chart::TextTable table = chart::layoutTextTable(
        bench_.chartTextTable(),
        [&metrics](const QString& s) { return metrics.horizontalAdvance(s); }, metrics.lineSpacing(), em);
    const double gap = main_layout::kPrintGapPoints * printer.resolution() / 72.0;
    painter.translate(0, pictureRect.bottom() + gap);
    if (table.width > page.width()) painter.scale(page.width() / table.width, page.width() / table.width);
    for (const chart::PlacedCell& cell : table.cells)
        painter.drawText(cell.topLeft + QPointF(0, metrics.ascent()), cell.text);
    return painter.end();
}

void MainWindow::printChartWithDialog() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("打印"));
    if (dialog.exec() == QDialog::Accepted) printChart(printer);
}

}  // namespace ui
