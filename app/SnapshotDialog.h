#pragma once
// The snapshot view: the unit's snapshots (time, reason, how many parameters
// differ from the unit now) with the selected one's differences by name, and
// its restore; the same view compares a preset file with the unit.

#include "presets/PresetDiff.h"

#include <QDialog>

#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

class SnapshotDialog : public QDialog {
    Q_OBJECT
public:
    struct Entry {
        QString FilePath;
        QString When, What; // first two columns
        bool Ok = false;    // a sound preset file
        PresetStatus Status = PresetStatus::Ok; // when not Ok and the file was read
        QString Why;        // why not
        std::vector<ParamDifference> Differences;
    };
    enum class Mode { Snapshots, File };

    SnapshotDialog(Mode mode, const QString& where, std::vector<Entry> entries,
                   QWidget* parent = nullptr);

    QTreeWidget* SnapshotList = nullptr;
    QLabel* DifferenceLabel = nullptr;
    QListWidget* DifferenceList = nullptr;
    QLabel* WhereLabel = nullptr;
    QPushButton* RestoreBtn = nullptr; // snapshots only
    QPushButton* CloseBtn = nullptr;

private:
    void ShowSelected();
    void RestoreSelected();
    const Entry* Selected() const;

    Mode mode_;
    std::vector<Entry> entries_;
};

// A checked preset file against the console's image as a load would apply it.
SnapshotDialog::Entry CompareWithImage(const QString& filePath);

// "快照…": the unit in use's snapshots against the unit now.
void SnapshotBtnClick(QObject* Sender);
// "与文件比较…": a preset file the user picks against the unit (the screen without one).
void CompareFileBtnClick(QObject* Sender);
