#include "reportoutput.h"

#include "filedialogs.h"
#include "messages.h"
#include "reportpainter.h"
#include "util.h"
#include "workarea.h"

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace Report {

namespace {

QString ProposedPdfPath(const Document &doc)
{
    QString name = doc.fileName.isEmpty() ? doc.title : doc.fileName;
    // Only what no file system takes; accented letters stay.
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : name)
        if (unsafe.contains(c))
            c = QLatin1Char('-');
    if (name.trimmed().isEmpty())
        name = QStringLiteral("dokumentum");
    const QString folder = DocumentsFolder().isEmpty() ? QDir::homePath() : DocumentsFolder();
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

} // namespace

QPrinterInfo DefaultPrinter()
{
    return QPrinterInfo::defaultPrinter();
}

DocumentOutput::DocumentOutput(Messages &messages, FileDialogs &fileDialogs, PrinterSource printer)
    : m_messages(messages), m_fileDialogs(fileDialogs), m_printer(std::move(printer))
{}

bool WritePdf(const Document &doc, const QString &path)
{
    QPdfWriter writer(path);
    writer.setTitle(doc.title);
    writer.setCreator(QStringLiteral("Dromvel.Pro"));
    return PaintDocument(doc, writer);
}

bool DocumentOutput::saveAsPdf(const Document &doc, QWidget *parent) const
{
    const QString path =
        m_fileDialogs.SaveFileName(QStringLiteral("Mentés PDF fájlba"), ProposedPdfPath(doc),
                                   QStringLiteral("PDF fájlok (*.pdf)"), QStringLiteral("pdf"), parent);
    if (path.isEmpty())
        return false;
    if (!WritePdf(doc, path)) {
        m_messages.ShowError(QStringLiteral("A PDF fájl nem írható:\n%1").arg(QDir::toNativeSeparators(path)), parent);
        return false;
    }
    return true;
}

void DocumentOutput::print(const Document &doc, QWidget *parent) const
{
    const QPrinterInfo info = m_printer();
    if (info.isNull()) {
        if (m_messages.AskYesNo(QStringLiteral("Nincs nyomtató beállítva ezen a gépen.\n"
                                               "Elmenti a dokumentumot PDF fájlba?"),
                                QStringLiteral("Nyomtatás"), parent))
            saveAsPdf(doc, parent);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(doc.title);
    if (!PaintDocument(doc, printer))
        m_messages.ShowError(QStringLiteral("A nyomtatás nem sikerült a(z) \"%1\" nyomtatón.").arg(info.printerName()),
                             parent);
}

void DocumentOutput::preview(const Document &doc, QWidget *parent) const
{
    const QPrinterInfo info = m_printer();
    QPrinter printer(QPrinter::HighResolution);
    if (!info.isNull())
        printer.setPrinterName(info.printerName());
    printer.setDocName(doc.title);
    printer.setPageLayout(doc.setup.pageLayout());

    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("Tfrm_NyomtatasiKep"));
    dialog.setWindowTitle(QStringLiteral("Nyomtatási kép – %1").arg(doc.title));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&doc](QPrinter *target) { PaintDocument(doc, *target); });
    if (auto *toolBar = dialog.findChild<QToolBar *>()) {
        toolBar->addSeparator();
        QAction *pdf = toolBar->addAction(QIcon::fromTheme(QStringLiteral("document-save-as")),
                                          QStringLiteral("Mentés PDF fájlba"));
        pdf->setObjectName(QStringLiteral("aPdfMentes"));
        pdf->setToolTip(QStringLiteral("Mentés PDF fájlba"));
        QObject::connect(pdf, &QAction::triggered, &dialog, [this, &doc, &dialog] { saveAsPdf(doc, &dialog); });
    }
    const QRect area = WorkArea();
    dialog.resize(area.width() * 4 / 5, area.height() * 9 / 10);
    dialog.exec();
}

void DocumentOutput::output(const Document &doc, bool preview, QWidget *parent) const
{
    if (preview)
        this->preview(doc, parent);
    else
        print(doc, parent);
}

} // namespace Report
