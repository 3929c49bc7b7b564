#include "ui/settings/ListDownloadDialog.h"

#include "ui/CommandButtons.h"
#include "ui/UiFonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace torumin {

ListDownloadDialog::ListDownloadDialog(ListDownloadRequest request, QWidget *parent)
    : QDialog(parent)
    , m_download(std::move(request))
{
    setObjectName(QStringLiteral("ListDownloadDialog"));
    setWindowTitle(QStringLiteral("最新の郵便番号一覧のダウンロード"));
    setFont(UiFonts::uiGothic(9));
    setMinimumWidth(420);

    auto *what = new QLabel(QStringLiteral("日本郵便の全国一括の郵便番号一覧をダウンロードしています。"), this);
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
    layout->addWidget(what);
    layout->addWidget(received);
    layout->addWidget(progress);
    layout->addLayout(buttons);
    showProgress(0, -1);

    connect(&m_download, &ListDownload::progressed, this, &ListDownloadDialog::showProgress);
    connect(&m_download, &ListDownload::checking, this, &ListDownloadDialog::showChecking);
    connect(&m_download, &ListDownload::finished, this, &ListDownloadDialog::onFinished);
    m_download.start();
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
    if (!m_download.isFinished())
        m_download.cancel();
    else
        QDialog::reject();
}

void ListDownloadDialog::onFinished(const ListDownloadResult &result)
{
    m_result = result;
    done(result.outcome == ListDownloadResult::Outcome::Installed ? Accepted : Rejected);
}

} // namespace torumin
