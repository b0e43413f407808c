#pragma once
// The review of an imported filter file: per band the requested and the
// applied frequency, gain and Q, the worst deviation, the filters that found no
// band, and what becomes of the bands beyond the file's filters.

#include "eq/PeqText.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

class PeqReviewDialog : public QDialog {
    Q_OBJECT
public:
    PeqReviewDialog(const PeqFile& file, const PeqPlan& plan, const QString& fileName,
                    QWidget* parent = nullptr);

    // True when the bands beyond the file's filters go back to their defaults.
    bool ResetOthers() const;

    QTableWidget* Table = nullptr;
    QLabel* DeviationLabel = nullptr;
    QLabel* NotesLabel = nullptr;
    QRadioButton* ResetRadio = nullptr;
    QRadioButton* KeepRadio = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void ShowDeviation();
    const PeqPlan& plan_;
};

// How the review is run: exec() in the program; tests put their own in.
using PeqReviewRunner = std::function<int(PeqReviewDialog&)>;
void SetPeqReviewRunner(PeqReviewRunner runner); // empty: exec()
int RunPeqReview(PeqReviewDialog& dialog);
