#pragma once

#include "ui/UiContext.h"
#include "ui/settings/SettingsTabs.h"

#include <QDialog>

#include <array>
#include <vector>

class QPushButton;
class QTabWidget;

namespace torumin {

class CommonDialogs;
class TORUMIN;

// The settings dialog: four tabs, each with an apply step that stores its
// options and, for the first, applies them to the main window at once. OK
// applies every tab and switches the list when another slot was chosen.
class SETTEI final : public QDialog {
    Q_OBJECT

public:
    SETTEI(UiContext context, TORUMIN &mainWindow, CommonDialogs &dialogs, QWidget *parent = nullptr);

    QTabWidget *SSTab1 = nullptr;
    std::array<QPushButton *, 4> Command1{};
    EnvironmentTab environment;
    InitialTab initial;
    SearchTab search;
    CsvTab csv;

    [[nodiscard]] int OpenedSlot() const { return m_openedSlot; }

    void ApplyEnvironmentTab();
    void ApplyInitialTab();
    void ApplySearchTab();
    void ApplyCsvTab();

public Q_SLOTS:
    // Cancel, Esc and closing the window: also takes back what a download
    // did to the slots, which nothing has stored yet.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Command1_Click(int index);
    void Check1_Click(int index);
    void Command2_Click(int index);
    void Command3_Click();
    void Command4_Click(int index);
    void Command5_Click();
    void pointSlotAt(int index, const QString &path);
    void Option1_Click(int index);
    void Label3_Click(int index);
    void showColour(int index);
    void setLinkHover(bool hover);
    void storeFlag(const QString &key, bool on);

    UiContext m_context;
    TORUMIN &m_main;
    CommonDialogs &m_dialogs;
    int m_openedSlot = 0;
    QString m_openedPath;  // the selected slot's list when the dialog was filled

    // A slot as it was before a download pointed it at the new list.
    struct SlotBeforeDownload {
        int index;
        QString file;
        QString folder;
        QString downloaded;
    };
    std::vector<SlotBeforeDownload> m_beforeDownloads;  // until the list tab is applied
};

} // namespace torumin
