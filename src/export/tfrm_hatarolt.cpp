#include "tfrm_hatarolt.h"

#include "delimitedwriter.h"
#include "engineerror.h"
#include "exporterror.h"
#include "exportpathedit.h"
#include "exportsource.h"
#include "messages.h"
#include "session.h"
#include "spreadsheetwriter.h"
#include "util.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

const QString FormName = QStringLiteral("Tfrm_Hatarolt");
const QString Filter = QStringLiteral("CSV állományok (*.csv);;Text állományok (*.txt);;Excel munkalap (*.xlsx);;"
                                      "Minden állomány (*)");

// How often a running export lets the window repaint and hear the "Megállít" button.
constexpr int EventIntervalMs = 30;

QRadioButton *Radio(const char *name, const QString &caption, QButtonGroup *group, int id, QWidget *parent)
{
    auto *button = new QRadioButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    group->addButton(button, id);
    return button;
}

QCheckBox *Check(const char *name, const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton *Button(const char *name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

const QChar Separators[] = {QLatin1Char(';'), QLatin1Char('\t'), QLatin1Char(','), QLatin1Char('|')};
const char *const Quotes[] = {"\"", "'", ""};

} // namespace

QString SpreadsheetFileName(const QString &path)
{
    if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return path;
    if (path.endsWith(QStringLiteral(".xls"), Qt::CaseInsensitive))
        return path.left(path.size() - 4) + QStringLiteral(".xlsx");
    return {};
}

Tfrm_Hatarolt::Tfrm_Hatarolt(ExportSource &source, const QString &proposedName, Session &session,
                             ExportServices services, QWidget *parent)
    : QDialog(parent), m_source(source), m_session(session), m_services(std::move(services))
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("Határolt szöveg export"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_path =
        new ExportPathEdit(QStringLiteral("edFilenev"), Filter, QStringLiteral("csv"), m_services.fileDialogs, this);
    // A bare name stands in the documents folder.
    m_path->setText(QDir::toNativeSeparators(
        QDir(DocumentsFolder()).filePath(proposedName.isEmpty() ? QStringLiteral("File001.csv") : proposedName)));
    auto *pathLabel = new QLabel(QStringLiteral("Filenév"), this);
    pathLabel->setBuddy(m_path->edit());
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(pathLabel);
    pathRow->addWidget(m_path, 1);

    m_fields = new QListWidget(this);
    m_fields->setObjectName(QStringLiteral("lbMezok"));
    m_fields->setMinimumHeight(160);
    try {
        for (const ExportColumn &column : m_source.columns()) {
            auto *item = new QListWidgetItem(column.name, m_fields);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Checked);
        }
    } catch (const EngineError &e) {
        m_services.messages.ShowError(QStringLiteral("Hiba: ") + e.message(), this);
    }
    auto *all = Button("btnOsszes", QStringLiteral("összes"), this);
    auto *none = Button("btnEgyikSem", QStringLiteral("egyik sem"), this);
    connect(all, &QPushButton::clicked, this, [this] { setAllChecked(true); });
    connect(none, &QPushButton::clicked, this, [this] { setAllChecked(false); });
    auto *fieldButtons = new QHBoxLayout;
    fieldButtons->addWidget(all);
    fieldButtons->addWidget(none);
    fieldButtons->addStretch();
    auto *fieldColumn = new QVBoxLayout;
    fieldColumn->addWidget(m_fields, 1);
    fieldColumn->addLayout(fieldButtons);

    auto *separatorBox = new QGroupBox(QStringLiteral("Határoló karakter"), this);
    separatorBox->setObjectName(QStringLiteral("rgHatarolo"));
    m_separator = new QButtonGroup(this);
    auto *separatorLayout = new QVBoxLayout(separatorBox);
    separatorLayout->addWidget(
        Radio("rbPontosvesszo", QStringLiteral("Pontosvessző (;)"), m_separator, 0, separatorBox));
    separatorLayout->addWidget(Radio("rbTabulator", QStringLiteral("Tabulátor"), m_separator, 1, separatorBox));
    separatorLayout->addWidget(Radio("rbVesszo", QStringLiteral("Vessző (,)"), m_separator, 2, separatorBox));
    separatorLayout->addWidget(Radio("rbCso", QStringLiteral("Cső (|)"), m_separator, 3, separatorBox));
    m_separator->button(0)->setChecked(true);

    auto *quoteBox = new QGroupBox(QStringLiteral("Szövegjelölő"), this);
    quoteBox->setObjectName(QStringLiteral("rgSzovegjelolo"));
    m_quote = new QButtonGroup(this);
    auto *quoteLayout = new QVBoxLayout(quoteBox);
    quoteLayout->addWidget(Radio("rbIdezojel", QStringLiteral("Idézőjel (\")"), m_quote, 0, quoteBox));
    quoteLayout->addWidget(Radio("rbAposztrof", QStringLiteral("Aposztróf (')"), m_quote, 1, quoteBox));
    quoteLayout->addWidget(Radio("rbSemmi", QStringLiteral("Semmi"), m_quote, 2, quoteBox));
    m_quote->button(2)->setChecked(true);

    auto *groups = new QVBoxLayout;
    groups->addWidget(separatorBox);
    groups->addWidget(quoteBox);
    groups->addStretch();
    auto *middle = new QHBoxLayout;
    middle->addLayout(fieldColumn, 1);
    middle->addLayout(groups);

    m_memoLines =
        Check("cbTobbsoros", QStringLiteral("Többsoros mezőket is kiírja (egy sorba cső karakter választással)"), this);
    m_fieldNames =
        Check("cbEredetiNevek", QStringLiteral("Eredeti mezőneveket használja (nem a megjelenített neveket)"), this);
    m_noHeader = Check("cbFejlecNemKell", QStringLiteral("Fejléc nem kell (az első sorban)"), this);
    m_openAfter = Check("cbMegnyit", QStringLiteral("Export után megnyitás"), this);

    m_start = Button("btnExport", QStringLiteral("Export indítás"), this);
    m_start->setDefault(true);
    m_stopButton = Button("btnMegallit", QStringLiteral("Megállít"), this);
    m_stopButton->setEnabled(false);
    m_stopButton->setAutoDefault(false);
    m_close = Button("btnBezar", QStringLiteral("Bezár"), this);
    m_close->setAutoDefault(false);
    connect(m_start, &QPushButton::clicked, this, &Tfrm_Hatarolt::startExport);
    connect(m_stopButton, &QPushButton::clicked, this, &Tfrm_Hatarolt::stop);
    connect(m_close, &QPushButton::clicked, this, &Tfrm_Hatarolt::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_stopButton);
    buttons->addWidget(m_close);

    m_progress = ExportProgressBar(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addLayout(middle, 1);
    layout->addWidget(m_memoLines);
    layout->addWidget(m_fieldNames);
    layout->addWidget(m_noHeader);
    layout->addWidget(m_openAfter);
    layout->addLayout(buttons);
    layout->addWidget(m_progress);

    FinishExportForm(this, session, m_path, 56);
}

QString Tfrm_Hatarolt::path() const
{
    return m_path->text();
}

void Tfrm_Hatarolt::setAllChecked(bool checked)
{
    for (int i = 0; i < m_fields->count(); ++i)
        m_fields->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QList<bool> Tfrm_Hatarolt::exportedFields() const
{
    QList<bool> result;
    for (int i = 0; i < m_fields->count(); ++i)
        result.append(m_fields->item(i)->checkState() == Qt::Checked);
    return result;
}

void Tfrm_Hatarolt::setRunning(bool running)
{
    m_running = running;
    m_stop = false;
    m_start->setEnabled(!running);
    m_stopButton->setEnabled(running);
}

bool Tfrm_Hatarolt::writeFile(const QString &path, const std::function<void(QIODevice &, const ExportControl &)> &write,
                              const QString &errorPrefix)
{
    setRunning(true);
    bool ok = false;
    try {
        const qint64 rows = m_source.rowCount();
        m_progress->setRange(0, int(std::clamp<qint64>(rows, 1, INT_MAX)));
        m_progress->setValue(0);
        QElapsedTimer sinceEvents;
        sinceEvents.start();
        ExportControl control;
        control.stop = &m_stop;
        control.progress = [&](qint64 written) {
            if (sinceEvents.elapsed() < EventIntervalMs)
                return;
            m_progress->setValue(int(std::min<qint64>(written, m_progress->maximum())));
            QCoreApplication::processEvents();
            sinceEvents.restart();
        };
        QSaveFile file(QDir::fromNativeSeparators(path));
        if (!file.open(QIODevice::WriteOnly))
            throw ExportError(file.errorString());
        write(file, control);
        if (!file.commit())
            throw ExportError(file.errorString());
        ok = true;
    } catch (const ProgramError &e) {
        // The engine's failures to read the rows, and the file's failures to be written.
        m_services.messages.ShowError(errorPrefix + e.message(), this);
    }
    m_progress->setValue(0);
    setRunning(false);
    return ok;
}

void Tfrm_Hatarolt::exportDelimited(const QString &path)
{
    DelimitedOptions options;
    options.separator = Separators[std::max(0, m_separator->checkedId())];
    options.quote = QString::fromLatin1(Quotes[std::max(0, m_quote->checkedId())]);
    options.memoLines = m_memoLines->isChecked();
    options.fieldNames = m_fieldNames->isChecked();
    options.noHeader = m_noHeader->isChecked();
    options.exported = exportedFields();
    DelimitedWriter writer(options);
    const bool ok = writeFile(
        path, [&](QIODevice &device, const ExportControl &control) { writer.write(m_source, device, control); },
        QStringLiteral("Hiba: "));
    if (ok)
        m_services.messages.ShowInfo(path + QStringLiteral(" file kész."), this);
    if (ok && m_openAfter->isChecked()) {
        m_services.openFile(QDir::fromNativeSeparators(path));
        accept();
    }
}

void Tfrm_Hatarolt::exportSpreadsheet(const QString &path)
{
    SpreadsheetOptions options;
    options.fieldNames = m_fieldNames->isChecked();
    options.exported = exportedFields();
    SpreadsheetWriter writer(options);
    const bool ok = writeFile(
        path, [&](QIODevice &device, const ExportControl &control) { writer.write(m_source, device, control); },
        QString());
    if (ok && m_openAfter->isChecked()) {
        m_services.openFile(QDir::fromNativeSeparators(path));
        accept();
    }
}

void Tfrm_Hatarolt::startExport()
{
    if (m_running)
        return;
    if (m_path->text().trimmed().isEmpty() && !m_path->browse())
        return;
    const QString spreadsheet = SpreadsheetFileName(m_path->text());
    if (spreadsheet.isEmpty()) {
        exportDelimited(m_path->text());
    } else {
        m_path->setText(spreadsheet);
        exportSpreadsheet(spreadsheet);
    }
    if (m_closeWhenDone && isVisible())
        QDialog::reject();
}

void Tfrm_Hatarolt::reject()
{
    // Closing while rows are written stops the export first; the window closes when it has ended.
    if (m_running) {
        m_stop = true;
        m_closeWhenDone = true;
        return;
    }
    QDialog::reject();
}

void Tfrm_Hatarolt::done(int result)
{
    StoreWindowPos(this, m_session.ini, FormName);
    QDialog::done(result);
}

void HataroltExport(ExportSource &source, const QString &proposedName, Session &session, ExportServices services,
                    QWidget *parent)
{
    Tfrm_Hatarolt dialog(source, proposedName, session, std::move(services), parent);
    dialog.exec();
}
