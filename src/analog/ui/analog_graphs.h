#pragma once
// The two drawings of an analog editor: the preview graph (level texts, grid
// and the generated segment, full or pale) and the sketch of the editor's
// shape with its parameter names.
#include <QWidget>

#include "analog/analog_edit_frame.h"
#include "analog/external_form.h"

namespace lyr::analog {

class PreviewGraph : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTextMargin = 40;  // room for the level texts left of the frame
    PreviewGraph(const AnalogEditFrame& form, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {kTextMargin + 400, 250}; }
    // The graph frame; the plot is this inset by one pixel.
    QRect graphFrame() const;
    PlotRect plotRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const AnalogEditFrame& form_;
};

// The overview of an external source: its values scaled onto the full
// height of a small graph.
class OverviewGraph : public QWidget {
    Q_OBJECT
public:
    OverviewGraph(const ExternalForm& form, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {240, 70}; }
    PlotRect plotRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const ExternalForm& form_;
};

class SketchView : public QWidget {
    Q_OBJECT
public:
    SketchView(const AnalogEditFrame& form, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {250, 110}; }
    PlotRect plotRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const AnalogEditFrame& form_;
};

}  // namespace lyr::analog
