#include "tfrm_grid2html.h"

#include "exporterror.h"
#include "exportpathedit.h"
#include "exportsource.h"
#include "formbehaviour.h"
#include "htmlpagewriter.h"
#include "messages.h"
#include "session.h"
#include "util.h"
#include "windowplacement.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

const QString FormName = QStringLiteral("Tfrm_Grid2Html");
constexpr int RepaintIntervalMs = 30;

} // namespace

QString DefaultHtmlPath(const QString &exportFolder, const QString &title)
{
    QString folder = QDir::fromNativeSeparators(exportFolder.isEmpty() ? DataFolder() : exportFolder);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QString name = SafeFileName(title + QStringLiteral(".htm"));
    return QDir::toNativeSeparators(folder.endsWith(QLatin1Char('/')) ? folder + name
                                                                      : folder + QLatin1Char('/') + name);
}

Tfrm_Grid2Html::Tfrm_Grid2Html(ExportSource &source, const QString &title, Session &session, ExportServices services,
                               QWidget *parent)
    : QDialog(parent), m_source(source), m_title(title), m_session(session), m_services(std::move(services))
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("HTML export"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *label = new QLabel(QStringLiteral("Mentés helye"), this);
    m_path = new ExportPathEdit(QStringLiteral("edHely"), QStringLiteral("HTML dokumentum (*.htm *.html)"),
                                QStringLiteral("htm"), m_services.fileDialogs, this);
    m_path->setText(DefaultHtmlPath(session.htmlFolder, title));
    label->setBuddy(m_path->edit());

    m_openAfter = new QCheckBox(QStringLiteral("Mentés után megnyitás"), this);
    m_openAfter->setObjectName(QStringLiteral("cbMegnyit"));
    m_openAfter->setChecked(true);

    auto *mail = new QPushButton(QStringLiteral("E-Mail"), this);
    mail->setObjectName(QStringLiteral("btnEmail"));
    mail->setAutoDefault(false);
    connect(mail, &QPushButton::clicked, this, &Tfrm_Grid2Html::sendPage);
    const OkCancelRow okCancel = OkCancelButtons(this);
    okCancel.cancel->setAutoDefault(false);
    connect(okCancel.ok, &QPushButton::clicked, this, &Tfrm_Grid2Html::accept);
    okCancel.row->insertWidget(1, mail);

    m_progress = ExportProgressBar(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_path);
    layout->addWidget(m_openAfter);
    layout->addLayout(okCancel.row);
    layout->addWidget(m_progress);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FinishExportForm(this, session, m_path, 64);
}

QString Tfrm_Grid2Html::path() const
{
    return m_path->text();
}

bool Tfrm_Grid2Html::savePage()
{
    const QString file = QDir::fromNativeSeparators(m_path->text().trimmed());
    try {
        if (file.isEmpty())
            throw ExportError(QStringLiteral("Nincs megadva, hová kerüljön az oldal."));
        const QString folder = QFileInfo(file).absolutePath();
        if (!QDir().mkpath(folder))
            throw ExportError(QStringLiteral("A mappa nem hozható létre: ") + QDir::toNativeSeparators(folder));
        m_progress->setRange(0, int(std::clamp<qint64>(m_source.rowCount(), 1, INT_MAX)));
        m_progress->setValue(0);
        QElapsedTimer sinceRepaint;
        sinceRepaint.start();
        ExportControl control;
        control.progress = [&](qint64 written) {
            if (written % 10 != 0 || sinceRepaint.elapsed() < RepaintIntervalMs)
                return;
            m_progress->setValue(int(std::min<qint64>(written, m_progress->maximum())));
            m_progress->repaint();
            sinceRepaint.restart();
        };
        QSaveFile page(file);
        if (!page.open(QIODevice::WriteOnly))
            throw ExportError(page.errorString());
        HtmlPageWriter(m_title).write(m_source, page, control);
        if (!page.commit())
            throw ExportError(page.errorString());
    } catch (const ProgramError &e) {
        // The engine's failures to read the rows, and the file's failures to be written.
        m_progress->setValue(0);
        m_services.messages.ShowError(e.message(), this);
        return false;
    }
    m_progress->setValue(0);
    if (m_openAfter->isChecked())
        m_services.openFile(file);
    return true;
}

void Tfrm_Grid2Html::accept()
{
    if (!savePage())
        return;
    m_session.htmlFolder =
        QDir::toNativeSeparators(QFileInfo(QDir::fromNativeSeparators(m_path->text())).absolutePath());
    QDialog::accept();
}

void Tfrm_Grid2Html::sendPage()
{
    m_openAfter->setChecked(false);
    if (!savePage())
        return;
    const QString file = QDir::fromNativeSeparators(m_path->text().trimmed());
    if (SendMail(QStringLiteral("Html küldés"), QStringLiteral("Html küldés"), file, m_services.runProgram) != 0)
        m_services.messages.ShowWarning(
            QStringLiteral("Nem indítható levelezőprogram ezen a gépen, ezért a levél nem készült el.\n"
                           "Az oldal elmentve: ") +
                QDir::toNativeSeparators(file),
            this);
}

void Tfrm_Grid2Html::done(int result)
{
    StoreWindowPos(this, m_session.ini, FormName);
    QDialog::done(result);
}

void Grid2Html(ExportSource &source, const QString &title, Session &session, ExportServices services, QWidget *parent)
{
    Tfrm_Grid2Html dialog(source, title, session, std::move(services), parent);
    dialog.exec();
}
