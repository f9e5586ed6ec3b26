#pragma once
// The DAD ("Data Analyzing Data") layout: a sample of a file's events placed
// on a flat picture so that their screen distances approach their mean
// distance over the chosen channels, one iteration at a time, and the rest
// of the events placed beside their nearest sampled neighbour. Plain
// functions over the window's layout state; no widgets.
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/FileRecord.h"

namespace qv {

struct LayoutPoint {
    int32_t x = 0, y = 0;
    bool operator==(const LayoutPoint&) const = default;
};

// The layout state of one DAD window.
struct DadLayout {
    int32_t SampleSize = 1000;      // N, events wanted in the sample
    int32_t IterationCount = 100;   // a run performs IterationCount + 1 iterations
    int32_t IterationCounter = 0;   // the iteration being run, from 0
    int32_t Deviator = 1000;        // divisor of the force
    bool Running = false;
    bool TargetsStale = true;       // TargetDistance must be made again before a run
    double MeanMovement = 0;        // of the last iteration
    std::string MovementLog;        // one line per iteration of the run
    std::vector<uint8_t> InSample;             // per event 0..EventCount: 1 = sampled (and drawn)
    std::vector<LayoutPoint> LayoutPosition;   // per event 0..EventCount, y downwards
    std::vector<uint8_t> ChannelUsed;          // per parameter 0..ParameterCount at the load
    int16_t StartAxisX = 1, StartAxisY = 2;    // parameters of the initial dot-plot placement
    int16_t ShownPopulation = 0;               // population sampled; 0 = all events
    bool RandomStart = false;

    // Wanted screen distance of sampled ranks a and b (1..TargetOrder), and
    // the sampled events it was made for.
    std::vector<float> TargetDistance;
    int32_t TargetOrder = 0;
    std::vector<int32_t> TargetSample;

    std::mt19937_64 Random{std::random_device{}()};

    float target(int32_t a, int32_t b) const {
        if (a < 1 || b < 1 || a > TargetOrder || b > TargetOrder) return 0.0f;
        return TargetDistance[static_cast<size_t>(a) * static_cast<size_t>(TargetOrder + 1) + static_cast<size_t>(b)];
    }
};

// The largest sample whose target table ((N + 1)^2 floats) the program holds.
int32_t MaxDadSampleSize();

// sqrt(dx^2 + dy^2) as a 32-bit float: from the square-root table for
// offsets of 0..1000 on each axis, computed directly beyond it.
float ScreenDistance(int64_t dx, int64_t dy);
// Builds the table once per run (later calls do nothing).
void BuildDistanceTable();

// Whether event e is a candidate of the shown population (every event for 0).
bool IsDadCandidate(const FileRecord& file, int16_t population, int32_t e);

// The events with InSample = 1, in event order: rank r is element r - 1.
std::vector<int32_t> SampledEvents(const DadLayout& layout);

// The preparation after a file load: targets stale, positions made anew,
// the sample size capped at the events of a loaded file (kept when the
// window has none), the sample chosen, the start axes held within the
// parameters, every channel unchecked.
void PrepareDadLayoutForFile(DadLayout& layout, const FileRecord& file);

// Chooses the sample: every step-th candidate (step = Int(M / N), at least
// 1), at most N; the candidates passed over are parked at (1, 1). Nothing is
// sampled without events or with a sample size below 1. Returns how many
// were taken.
int32_t SelectSample(DadLayout& layout, const FileRecord& file);

// Places events 1..EventCount anew: at random inside the picture, or as a
// 200 x 200 dot plot of the start axes with a margin of 50.
void PlaceInitial(DadLayout& layout, const FileRecord& file, int32_t pictureWidth, int32_t pictureHeight);

// Called between rows of the long loops, with the rows done and their total;
// processes pending window events (now and then) and answers whether the loop
// may go on.
using DadProgress = std::function<bool(int64_t done, int64_t total)>;

// The wanted distances of every two sampled events: the mean over the used
// channels of their distance on an axis as long as the picture is wide.
// False (targets left stale) when the progress call stopped it.
bool ComputeTargetDistances(DadLayout& layout, const FileRecord& file, int32_t pictureWidth,
                            const DadProgress& progress);

// One iteration: every sampled event pulled towards or pushed away from
// every other by the relative error of their distance, the moves summed
// from the positions at the start and then applied. Sets MeanMovement.
// False, with no position moved, when the progress call stopped it.
bool IterateOnce(DadLayout& layout, const DadProgress& progress);

// "<counter>\t<mean movement>\t<seconds>\n", the movement log's line.
std::string MovementLogLine(int32_t counter, double meanMovement, double seconds);

// Places every event outside the sample beside the sampled event nearest to
// it over the used channels (sum of absolute differences of the whole
// values; ties go to the first sampled event), with a jitter of -2..+1 on
// each axis drawn in event order; then marks every candidate as sampled.
// False, with the rest partly placed and the marks unchanged, when the
// progress call stopped it.
bool PlaceRest(DadLayout& layout, const FileRecord& file, const DadProgress& progress);

}  // namespace qv
