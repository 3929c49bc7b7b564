#pragma once

#include <QString>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;

namespace torumin {

class PathLabel;

class UpDown;

// The controls of the settings dialog's four tabs, by the names the dialog's
// handlers use. The builders only lay them out; SETTEI fills and applies them.

struct EnvironmentTab {
    QWidget *page = nullptr;
    std::array<QCheckBox *, 8> Check1{};  // indices 3 and 5 stay empty
    std::array<QPushButton *, 2> Command2{};
    QPushButton *Command3 = nullptr;
};

struct InitialTab {
    QWidget *page = nullptr;
    std::array<UpDown *, 3> UpDown1{};  // index 1 stays empty
    std::array<QLabel *, 3> Label4{};
    std::array<QCheckBox *, 3> Check2{};
    std::array<QCheckBox *, 3> Check3{};
};

struct SearchTab {
    QWidget *page = nullptr;
    std::array<QCheckBox *, 4> Check4{};
    std::array<QCheckBox *, 4> Check5{};
};

struct CsvTab {
    QWidget *page = nullptr;
    std::array<QRadioButton *, 8> Option1{};
    std::array<QLabel *, 8> Label3{};
    std::array<QToolButton *, 8> Command4{};
    QLabel *Label1 = nullptr;  // the download page link
    PathLabel *loadedList = nullptr;  // which list is loaded, how many records, how fresh
    PathLabel *loadedOffices = nullptr;  // the same of the office list that goes with it
    QPushButton *Command5 = nullptr;  // downloads the latest list
    QLabel *downloadStatus = nullptr;  // what the last download brought
};

EnvironmentTab buildEnvironmentTab();
InitialTab buildInitialTab();
SearchTab buildSearchTab();
CsvTab buildCsvTab(const QString &downloadPage);

} // namespace torumin
