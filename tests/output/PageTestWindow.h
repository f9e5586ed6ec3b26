#pragma once
// A window for the print page tests: a plain picture of one colour and,
// when it has statistics, a statistics picture of another; it answers the
// page's members and records the on-page flags it is given.
#include <QImage>

#include <string>
#include <vector>

#include "app/PlotWindow.h"
#include "core/SharedState.h"

namespace qv::test {

class PageTestWindow : public PlotWindow {
public:
    // Registers itself in `id` as a window of `type`.
    PageTestWindow(int id, const std::string& type, QSize pictureSize = {300, 200}, QColor colour = Qt::red)
        : id_(id), picture_(pictureSize, QImage::Format_RGB32) {
        picture_.fill(colour);
        WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(id)];
        rec.InUse = true;
        rec.Form = this;
        rec.Type = type;
    }
    ~PageTestWindow() override {
        WindowRecord& rec = g.WindowRegistry[static_cast<size_t>(id_)];
        if (rec.Form == this) rec = WindowRecord{};
    }

    // A statistics box of this size and colour, open.
    void giveStatistics(QSize size, QColor colour) {
        stat_ = QImage(size, QImage::Format_RGB32);
        stat_.fill(colour);
        statisticsOpen = true;
    }

    void Alusta(int) override {}
    void Piirra() override {}
    int AnnaID() const override { return id_; }
    void UnloadWindow() override {}
    void MenuValintaReaktio(int) override {}
    void CopyToClipboard() override {}
    std::vector<std::string> SaveInfo() override { return {"0"}; }
    void LoadInfo(const std::string&) override {}

    QImage Kuva() const override { return picture_; }
    bool OnkoPreviewissa() const override { return inPreview; }
    void AsetaPreviewissa(bool flag) override {
        // A kind that is never on the page lacks the member.
        if (neverOnPage) missing("AsetaPreviewissa");
        inPreview = flag;
        ++previewCalls;
    }
    bool OnkoStatPreviewissa() const override { return statInPreview; }
    void AsetaStatPreviewissa(bool flag) override {
        statInPreview = flag;
        ++statPreviewCalls;
    }
    bool OnkoStatistiikkaKaytossa() const override { return statisticsOpen; }
    QImage StatKuva() const override { return stat_; }

    bool neverOnPage = false;
    bool inPreview = false;
    bool statInPreview = false;
    bool statisticsOpen = false;
    int previewCalls = 0;
    int statPreviewCalls = 0;

private:
    int id_;
    QImage picture_;
    QImage stat_;
};

}  // namespace qv::test
