#include "ui/settings/ListDownloadDialog.h"

#include "ui/CommandButtons.h"
#include "ui/UiFonts.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace torumin {

ListDownloadDialog::ListDownloadDialog(ListDownloadRequest request, std::optional<ListDownloadRequest> officeRequest,
                                       QWidget *parent)
    : QDialog(parent)
    , m_officeRequest(std::move(officeRequest))
{
    setObjectName(QStringLiteral("ListDownloadDialog"));
    setWindowTitle(QStringLiteral("最新の郵便番号一覧のダウンロード"));
    setFont(UiFonts::uiGothic(9));
    setMinimumWidth(420);

    m_what = new QLabel(QStringLiteral("日本郵便の全国一括の郵便番号一覧をダウンロードしています。"), this);
    m_what->setObjectName(QStringLiteral("what"));
    received = new QLabel(this);
    received->setObjectName(QStringLiteral("received"));
    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setTextVisible(false);
    progress->setRange(0, 0);
    Command1 = makeCommandButton(this, 0, QStringLiteral("キャンセル"), [this](int) { reject(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_what);
    layout->addWidget(received);
    layout->addWidget(progress);
    layout->addLayout(buttons);
    start(std::move(request));
}

void ListDownloadDialog::start(ListDownloadRequest request)
{
    showProgress(0, -1);
    m_download = std::make_unique<ListDownload>(std::move(request));
    connect(m_download.get(), &ListDownload::progressed, this, &ListDownloadDialog::showProgress);
    connect(m_download.get(), &ListDownload::checking, this, &ListDownloadDialog::showChecking);
    connect(m_download.get(), &ListDownload::finished, this, &ListDownloadDialog::onFinished);
    m_download->start();
}

void ListDownloadDialog::showProgress(qint64 bytes, qint64 total)
{
    const QLocale numbers(QLocale::English);
    QString text = QStringLiteral("受信済み：") + numbers.toString(bytes);
    if (total > 0)
        text += QStringLiteral(" / ") + numbers.toString(total);
    received->setText(text + QStringLiteral(" バイト"));
    if (total > 0) {
        // In thousandths, as a progress bar counts in int.
        progress->setRange(0, 1000);
        progress->setValue(static_cast<int>(std::min<qint64>(bytes, total) * 1000 / total));
    }
}

void ListDownloadDialog::showChecking()
{
    received->setText(QStringLiteral("ダウンロードした一覧を確かめています…"));
    progress->setRange(0, 0);
}

void ListDownloadDialog::reject()
{
    // The download's end closes the window, with the outcome in hand.
    if (!m_download->isFinished())
        m_download->cancel();
    else
        QDialog::reject();
}

void ListDownloadDialog::onFinished(const ListDownloadResult &result)
{
    const bool installed = result.outcome == ListDownloadResult::Outcome::Installed;
    if (m_officeResult || m_result.outcome == ListDownloadResult::Outcome::Installed) {
        // The office list's end: the postal list is in place whatever it was.
        m_officeResult = result;
        done(Accepted);
        return;
    }
    m_result = result;
    if (installed && m_officeRequest) {
        m_officeResult.reset();
        m_what->setText(QStringLiteral("日本郵便の事業所の個別郵便番号一覧をダウンロードしています。"));
        // The office list lies beside the postal list it goes with.
        ListDownloadRequest offices = *std::exchange(m_officeRequest, std::nullopt);
        offices.kind = ListKind::Office;
        offices.folder = QFileInfo(result.path).absolutePath();
        // Deleted from inside its own signal otherwise.
        m_download.release()->deleteLater();
        start(std::move(offices));
        return;
    }
    done(installed ? Accepted : Rejected);
}

} // namespace torumin
