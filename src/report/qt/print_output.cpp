#include "report/qt/print_output.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <stdexcept>
#include <system_error>

#include "common/text.h"
#include "common/translate.h"
#include "report/report_file.h"

namespace zt::report {

std::vector<std::string> installedPrinters() {
    ensureGuiApplication();
    std::vector<std::string> names;
    for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(n.toStdString());
    return names;
}

void ensureGuiApplication() {
    if (QCoreApplication::instance()) {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            throw std::runtime_error(
                translate("PrintOutput", "La stampa con Qt richiede un'applicazione grafica (QGuiApplication)."));
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zentoria";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);  // kept for the rest of the process
}

int printThroughPrinter(const std::vector<std::string>& lines, const PrintSetup& setup, const PrintOptions& options,
                        std::string_view hotelOptions, const QString& printerName, const QString& pdfFile) {
    const auto pages = paginate(lines, setup.pageLength(options.compressed));
    if (pages.empty()) return 0;
    ensureGuiApplication();

    QPrinter printer(QPrinter::HighResolution);
    if (!pdfFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile);
        printer.setPageSize(QPageSize(QPageSize::A4));
    } else if (!printerName.isEmpty()) {
        printer.setPrinterName(printerName);
    }
    printer.setDocName("Zentoria");
    printer.setPageOrientation(options.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDuplex(options.duplex ? QPrinter::DuplexLongSide : QPrinter::DuplexNone);

    const std::string where =
        pdfFile.isEmpty()
            ? (printerName.isEmpty()
                   ? translate("PrintOutput", "la stampante predefinita")
                   : withArgs(translate("PrintOutput", "la stampante %1"), {printerName.toStdString()}))
            : withArgs(translate("PrintOutput", "il file %1"), {pdfFile.toStdString()});
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error(withArgs(translate("PrintOutput", "Impossibile avviare la stampa su %1."), {where}));

    QFont font(QString::fromStdString(setup.fontName));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(setup.fontSize(options.compressed));
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const double step = metrics.lineSpacing();
    const double paperHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
    const bool fold = !contains(hotelOptions, "K");
    const int margin = std::max(0, setup.topMargin());
    // Every page begins with one blank in Times New Roman at the compressed size (code 1),
    // then the top margin in the report's font: the first line lies that far down.
    QFont blankFont(QStringLiteral("Times New Roman"));
    blankFont.setStyleHint(QFont::Serif);
    blankFont.setPointSize(setup.fontSize(true));
    const double head = QFontMetricsF(blankFont, &printer).lineSpacing() + margin * step;

    int count = 0;
    double y = 0;
    auto startPage = [&] {
        if (count > 0) printer.newPage();
        ++count;
        y = head;
    };
    for (const auto& page : pages) {
        startPage();
        for (const auto& line : page) {
            if (y > head && y + step > paperHeight) startPage();
            const std::string text = decodeReportLine(fold ? foldAccents(line) : line);
            painter.drawText(QPointF(0, y + metrics.ascent()), QString::fromStdString(text));
            y += step;
        }
    }
    if (!painter.end())
        throw std::runtime_error(withArgs(translate("PrintOutput", "La stampa su %1 non è riuscita."), {where}));
    return count;
}

PrintOutcome printReport(const PrintRequest& request, const std::vector<std::string>& installed) {
    PrintOutcome outcome;
    const auto file = reportFilePath(request.workDir);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return outcome;
    const auto lines = ReportFile::read(file).lines();
    outcome.printed = true;

    if (request.forcePdf) {
        outcome.route = PrintRoute::PdfFile;
        outcome.target = request.forcePdf->string();
        outcome.pages = printThroughPrinter(lines, request.setup, request.options, request.hotelOptions, {},
                                            QString::fromStdString(outcome.target));
        return outcome;
    }

    const std::string device = chooseDevice(request.setup, request.printerChoice);
    outcome.route = choosePrintRoute(request.setup, device, installed);
    switch (outcome.route) {
        case PrintRoute::Raw: {
            if (trim(device).empty())
                throw std::runtime_error(withArgs(
                    translate("PrintOutput",
                              "La destinazione \"%1\" non ha un dispositivo: impostare Linea in Stampanti.mdb o la "
                              "variabile d'ambiente con il nome della destinazione."),
                    {request.setup.destination}));
            const auto path = devicePath(request.workDir, device);
            const std::string bytes =
                rawPrintBytes(lines, request.setup, request.options, request.hotelOptions);
            writeDevice(path, bytes);
            outcome.target = path.string();
            outcome.pages = static_cast<int>(
                paginate(lines, request.setup.pageLength(request.options.compressed)).size());
            break;
        }
        case PrintRoute::Printer:
            outcome.target = device;
            outcome.pages = printThroughPrinter(lines, request.setup, request.options, request.hotelOptions,
                                                QString::fromStdString(device));
            break;
        case PrintRoute::DefaultPrinter:
            if (installed.empty())
                throw std::runtime_error(withArgs(translate("PrintOutput",
                                                            "Nessuna stampante installata: la destinazione \"%1\" "
                                                            "stampa su \"%2\", che non è una stampante installata."),
                                                  {request.setup.destination, device}));
            outcome.target.clear();
            outcome.pages = printThroughPrinter(lines, request.setup, request.options, request.hotelOptions, {});
            break;
        case PrintRoute::PdfFile: {
            const auto pdf = pdfBesideArchive(request.archivePath.empty()
                                                  ? archiveCopyPath(request.workDir, localStamp())
                                                  : request.archivePath);
            std::filesystem::create_directories(pdf.parent_path(), ec);
            if (ec)
                throw std::runtime_error(withArgs(translate("PrintOutput", "Impossibile creare la cartella %1: %2."),
                                                  {pdf.parent_path().string(), systemErrorText(ec)}));
            outcome.target = pdf.string();
            outcome.pages = printThroughPrinter(lines, request.setup, request.options, request.hotelOptions, {},
                                                QString::fromStdString(outcome.target));
            break;
        }
    }
    return outcome;
}

}  // namespace zt::report
