#pragma once
// The DAD window ("Data Analyzing Data", type "DAD"): a sample of a file's
// events laid out by their distances over the checked channels, one
// iteration per timer tick; the rest placed beside their nearest sampled
// neighbour; "DAD-" gates drawn on the layout with the mouse; panning; its
// settings lines. Made only by sheets and tools. The layout work is in
// plots/multi/model/DadLayout.
#include <QElapsedTimer>
#include <QPointF>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/FilePlotWindow.h"
#include "plots/multi/model/DadLayout.h"
#include "plots/multi/model/DadSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;

namespace qv {

// Registers the "DAD" window kind with the window registry.
void registerDadKind();

// The plot picture: a fixed square of 6255 twips.
inline constexpr int DadPictureSize = 417;

class DAD : public FilePlotWindow {
    Q_OBJECT
public:
    explicit DAD(QWidget* parent = nullptr);
    ~DAD() override;

    // ---- the window protocol ----
    void Alusta(int id) override;
    void LatauksenJalkeen() override;
    void Piirra() override;
    void NaytaPopulaatio(int slot) override;
    int AnnaID() const override { return id_; }
    void UnloadWindow() override;
    bool OnkoPreviewissa() const override { return false; }
    void AsetaPreviewissa(bool flag) override { (void)flag; }
    void MenuValintaReaktio(int index) override;
    void CheckPopulation(int slot) override;
    std::vector<std::string> SaveInfo() override;
    void LoadInfo(const std::string& line) override;

    // ---- the controls' actions (also for tests) ----
    // Start and Stop: each does nothing when the run is already so.
    void startRun();
    void stopRun();
    // The Start/Stop button.
    void startOrStop();
    void placeRest();
    // The three input boxes.
    void askEvents();
    void askIterations();
    void askDeviator();
    // Ticks or unticks channel item `row` (parameter row + 1).
    void setChannelChecked(int row, bool checked);
    // The X / Y list choice `index` (parameter index + 1).
    void chooseStartAxis(int axis, int index);
    void setRandomStart(bool random);

    DadLayout& layout() { return layout_; }
    const DadLayout& layout() const { return layout_; }
    DadPan& pan() { return pan_; }
    QString statusText() const;
    const QLabel* statusBox() const { return status_; }
    const QLineEdit* eventsBox() const { return eventsBox_; }
    bool startEnabled() const;
    bool placeRestEnabled() const;
    QString startCaption() const;
    QStringList channelNames() const;
    // A long loop (targets, iteration, "Place rest") is running.
    bool busy() const { return busy_ != Busy::Idle; }
    // Called while a long loop processes window events (tests stop or close
    // the window from there).
    std::function<void()> onLoopEvents;
    // How often (ms) a long loop processes window events; tests use 0.
    void setEventInterval(int ms) { eventInterval_ = ms; }

protected:
    std::string titleText() const override { return title_; }
    bool initialised() const override { return initialised_; }
    bool darkBackground() const override { return false; }
    void forgetShownFile() override;
    void rememberKindSize(int32_t, int32_t) override {}
    void paintOverlay(QPainter& painter) override;

    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Busy { Idle, Targets, Iterating, PlacingRest };

    void buildControls();
    void tick();
    void refillLists();
    void writeBoxes();
    void setInputsEnabled(bool enabled);
    // Ends any long loop that is running: it returns at its next look.
    void endLoops() { ++generation_; }
    // The progress call of a long loop started in generation `generation`.
    DadProgress loopProgress(uint64_t generation, const char* statusPrefix);
    void setStatus(const QString& text);
    void closeGate(int slot);
    bool onPicture(QPointF pos) const;

    int16_t id_ = 0;
    std::string title_;
    bool initialised_ = false;
    bool closed_ = false;
    DadLayout layout_;
    DadPan pan_;
    bool panning_ = false;
    int32_t lastPanX_ = 0, lastPanY_ = 0;
    QPointF pointer_;
    Busy busy_ = Busy::Idle;
    uint64_t generation_ = 0;
    QElapsedTimer sincePump_;
    int eventInterval_ = 30;

    QComboBox* xAxis_ = nullptr;      // XAkseliValitsin
    QComboBox* yAxis_ = nullptr;      // YAkseliValitsin
    QListWidget* channels_ = nullptr; // KanavaLista
    QLineEdit* eventsBox_ = nullptr;  // AjoPisteLaatikko
    QLineEdit* iterationsBox_ = nullptr;  // IteraatioLaatikko
    QLineEdit* deviatorBox_ = nullptr;    // JakajaLaatikko
    QCheckBox* random_ = nullptr;     // RandomValinta
    QPushButton* start_ = nullptr;    // AloitaAjo
    QPushButton* placeRest_ = nullptr;  // AsetaLoput
    QLabel* status_ = nullptr;        // StatusLaatikko
    QTimer* timer_ = nullptr;         // AjoKello
};

}  // namespace qv
