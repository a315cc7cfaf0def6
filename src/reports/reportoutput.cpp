#include "reportoutput.h"

#include "filedialogs.h"
#include "messages.h"
#include "reportpainter.h"
#include "session.h"
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

std::function<QPrinterInfo()> &DefaultPrinterSource()
{
    static std::function<QPrinterInfo()> source = [] { return QPrinterInfo::defaultPrinter(); };
    return source;
}

bool WritePdf(const Document &doc, const QString &path)
{
    QPdfWriter writer(path);
    writer.setTitle(doc.title);
    writer.setCreator(QStringLiteral("Dromvel.Pro"));
    return PaintDocument(doc, writer);
}

bool SaveAsPdf(Session &session, const Document &doc, QWidget *parent)
{
    const QString path =
        session.fileDialogs->SaveFileName(QStringLiteral("Mentés PDF fájlba"), ProposedPdfPath(doc),
                                          QStringLiteral("PDF fájlok (*.pdf)"), QStringLiteral("pdf"), parent);
    if (path.isEmpty())
        return false;
    if (!WritePdf(doc, path)) {
        session.messages->ShowError(QStringLiteral("A PDF fájl nem írható:\n%1").arg(QDir::toNativeSeparators(path)),
                                    parent);
        return false;
    }
    return true;
}

void Print(Session &session, const Document &doc, QWidget *parent)
{
    const QPrinterInfo info = DefaultPrinterSource()();
    if (info.isNull()) {
        if (session.messages->AskYesNo(QStringLiteral("Nincs nyomtató beállítva ezen a gépen.\n"
                                                      "Elmenti a dokumentumot PDF fájlba?"),
                                       QStringLiteral("Nyomtatás"), parent))
            SaveAsPdf(session, doc, parent);
        return;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(doc.title);
    if (!PaintDocument(doc, printer))
        session.messages->ShowError(
            QStringLiteral("A nyomtatás nem sikerült a(z) \"%1\" nyomtatón.").arg(info.printerName()), parent);
}

void Preview(Session &session, const Document &doc, QWidget *parent)
{
    const QPrinterInfo info = DefaultPrinterSource()();
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
        QObject::connect(pdf, &QAction::triggered, &dialog,
                         [&session, &doc, &dialog] { SaveAsPdf(session, doc, &dialog); });
    }
    const QRect area = WorkArea();
    dialog.resize(area.width() * 4 / 5, area.height() * 9 / 10);
    dialog.exec();
}

void Output(Session &session, const Document &doc, bool preview, QWidget *parent)
{
    if (preview)
        Preview(session, doc, parent);
    else
        Print(session, doc, parent);
}

} // namespace Report
