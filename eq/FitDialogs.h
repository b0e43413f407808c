#pragma once
// The dialogs of "按测量拟合…": the target and options before the fit, and
// the review of its bands before anything is sent.

#include "eq/GridFit.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

class FitOptionsDialog : public QDialog {
    Q_OBJECT
public:
    FitOptionsDialog(const QString& measurementName, int module, QWidget* parent = nullptr);

    // The target and options as chosen (a file target only once its file has
    // been read; until then the fit button is off).
    TargetCurve Target() const;
    FitOptions Options() const;

    QComboBox* TargetBox = nullptr; // flat, house curve, target file
    QDoubleSpinBox* RiseSpin = nullptr;
    QDoubleSpinBox* CornerSpin = nullptr;
    QDoubleSpinBox* TiltSpin = nullptr;
    QPushButton* TargetFileBtn = nullptr;
    QLabel* TargetFileLabel = nullptr;
    QDoubleSpinBox* FromSpin = nullptr;
    QDoubleSpinBox* ToSpin = nullptr;
    QDoubleSpinBox* BoostSpin = nullptr;
    QCheckBox* ShelvesCheck = nullptr;
    QSpinBox* BandsSpin = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void PickTargetFile();
    void ShowTargetKind();
    int module_ = 1;
    Measurement targetFile_;
};

class FitReviewDialog : public QDialog {
    Q_OBJECT
public:
    FitReviewDialog(const FitInput& in, const FitResult& result, const QString& measurementName,
                    QWidget* parent = nullptr);

    QTableWidget* Table = nullptr;
    QLabel* ScoreLabel = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

// How the dialogs are run: exec() in the program; tests put their own in.
using FitOptionsRunner = std::function<int(FitOptionsDialog&)>;
using FitReviewRunner = std::function<int(FitReviewDialog&)>;
void SetFitOptionsRunner(FitOptionsRunner runner);
void SetFitReviewRunner(FitReviewRunner runner);
int RunFitOptions(FitOptionsDialog& dialog);
int RunFitReview(FitReviewDialog& dialog);
