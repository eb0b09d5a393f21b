#pragma once

#include "gui/binder.h"
#include "gui/pagebuilder.h"
#include "gui/painter.h"

#include <QWidget>

class QLabel;
class QTranslator;

namespace corvane {

class ClickLabel;
class ErrorBanner;

// The main window: built from the window definition, mirrors the state, forwards every user
// event as one call into the core and repaints what the core marked as changed.
class MainWindow : public QWidget, public EventSink {
    Q_OBJECT
  public:
    explicit MainWindow(State& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs one call into the core: a ProgramEnd closes the window and ends the event loop with
    // its code; any other failure is logged and shown, and the window carries on. Afterwards
    // the controls the core changed are repainted and the focus follows the core's choice.
    void Dispatch(const std::function<void()>& call) override;
    bool Painting() const override { return m_painting > 0; }

    // Brings every control the core marked as changed up to date (also run by the platform
    // before a dialog opens, so the window behind it shows the current state).
    void RepaintDirty();

    bool Ending() const { return m_ending; }
    int ExitCode() const { return m_exitCode; }

  Q_SIGNALS:
    void programEnded(int code);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static constexpr int Margin = 6;             // 90 twips around the column and the page area
    static constexpr int LeastColumnWidth = 100; // the command column, wider for longer captions
    static constexpr int MostColumnWidth = 170;
    // The grid of cell editor 0 or 1.
    static int EditorGrid(int index) { return index == 1 ? 300 : 200; }

    void BuildLeftColumn(PageBuilder& builder);
    void BuildPageArea(PageBuilder& builder);
    void LayoutLeftColumn();
    void RepaintAll();
    void RepaintNamed();
    void RepaintPictures();
    void RepaintHistory();
    void SyncFieldRows();
    void RefreshPageLayout();
    void AlignChoiceRows();
    void FitHintText();
    void PlaceLists();
    void PlaceCellEditors();
    void SyncFocus(const FocusRef& before, const std::array<bool, 2>& editorsBefore);
    void ParkFocus();
    void EndProgram(int code);
    void ReportFailure(const char* what);
    bool WindowKey(QKeyEvent* event);
    QPixmap Picture(const QString& name) const;
    void PrepareKeyboard();
    void PrepareBalanceNote();
    void ApplyToolkitLanguage();
    void FitListFields();
    void FitCaptions();

    State& m_s;
    ControlPainter m_painter;
    Binder* m_binder;
    WindowWidgets m_widgets;
    ArrowPictures m_arrows;
    QWidget* m_pageArea = nullptr;
    ErrorBanner* m_banner = nullptr;
    QWidget* m_logoPanel = nullptr;
    QLabel* m_logo = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_hintCaption = nullptr;
    QLabel* m_hint = nullptr;
    ClickLabel* m_thumbnail = nullptr;
    QString m_logoSource, m_thumbnailSource, m_iconSource;
    QLabel* m_balanceNote = nullptr;
    int m_columnWidth = 100;
    QTranslator* m_toolkitTranslator = nullptr;
    QString m_toolkitLanguage;
    int m_shownPage = -1;
    bool m_focusPlaced = false;
    int m_painting = 0;
    int m_depth = 0;
    bool m_ending = false;
    int m_exitCode = 0;
};

} // namespace corvane
