// Reading the noise file, computing the spectrum, and reading spectrum files back.
#include "humsift_program.h"
#include "vorn/console/basic_number.h"
#include "vorn/humsift/noise_file.h"
#include "vorn/humsift/noise_spectrum_file.h"

namespace vorn::humsift {

namespace {

constexpr std::size_t kFewestSamples = 4;
const std::string kNotSamples = "not numbers within +/-10 V";
constexpr float kLowestSampleFrequency = 10.0f;
constexpr float kHighestSampleFrequency = 100000.0f;

std::string countOf(std::size_t count, const std::string& singular, const std::string& plural)
{
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

// The lines left out of a file, and why.
std::string skippedLines(std::size_t count, std::size_t first, const std::string& why)
{
    return "Lines left out, " + why + ": " + std::to_string(count) + " (the first is line " + std::to_string(first) +
           ").";
}

} // namespace

bool HumsiftProgram::readNoiseFile()
{
    state_.dataLoaded = false;
    for (;;) {
        const std::string name = entry_.askText("file name containing the raw sensor signals  ", state_.rawFile);
        if (name.empty())
            continue;
        const NoiseFile file = vorn::humsift::readNoiseFile(name, static_cast<std::size_t>(state_.maxPoints));
        if (!file.opened) {
            con().printLine("file does not exist.  try again");
            waitKey();
            continue;
        }
        if (file.mostlyNotSamples()) {
            con().printWrapped("The file " + name + " is mostly not samples. " +
                               skippedLines(file.badLines, file.firstBadLine, kNotSamples) +
                               " Is it a noise file?  try again");
            waitKey();
            continue;
        }
        if (file.values.size() < kFewestSamples) {
            con().printWrapped("The file holds " + countOf(file.values.size(), "sample", "samples") +
                               "; at least 4 are needed for a spectrum.  try again");
            waitKey();
            continue;
        }
        state_.rawFile = name;
        outputs_.addAnalysed(name);
        const std::size_t usable = largestPowerOfTwoAtMost(file.values.size());
        con().printLine("***** total number of data points   " + console::basicNumber(double(file.values.size())));
        if (file.badLines > 0)
            con().printWrapped(skippedLines(file.badLines, file.firstBadLine, kNotSamples));
        if (file.moreThanMaximum)
            con().printWrapped("The file holds more than " + std::to_string(state_.maxPoints) +
                               " samples; only the first " + std::to_string(state_.maxPoints) + " are read.");
        if (usable != file.values.size())
            con().printWrapped("The transform needs a power of two of values: the analysis uses the first " +
                               std::to_string(usable) + ".");
        state_.samples.assign(file.values.begin(), file.values.begin() + static_cast<std::ptrdiff_t>(usable));
        state_.dataLoaded = true;
        return true;
    }
}

void HumsiftProgram::computeSpectrum()
{
    if (!state_.fast()) {
        con().printLine("You need to specify the sampling frequency that the Vorn collected the raw");
        con().printLine("Sensor data at.  You may need to adjust this value slightly so that the PSD");
        con().printLine("values at the 60 Hz power line values, or the 50 Hz power line values line");
        con().printLine("up in the output PSD file or on the plot with the 60 Hz or 50 Hz points.");
        con().printLine("If you don't get the frequency aligned with the correct peaks then the");
        con().printLine("determination of the best Vorn measurement rate will be off by a");
        con().printLine("corresponding amount.");
        state_.sampleFrequency =
            askWithin("Sample Frequency in Hz that the Vorn's sensor data was collected at  ", state_.sampleFrequency,
                      kLowestSampleFrequency, kHighestSampleFrequency, "sample frequency in Hz");
    }
    readNoiseFile();
    if (!state_.fast()) {
        state_.window = entry_.askChoice({}, "Hann window the data ( 0 ),  no window ( 1 ) ", state_.window, {0, 1});
    }
    std::vector<double> work = state_.samples;
    state_.spectrum = vorn::humsift::computeSpectrum(work, state_.sampleFrequency, state_.windowKind());
    state_.response.assign(state_.spectrum.binCount(), 1.0);

    std::string outName;
    if (!state_.fast()) {
        state_.psdToFile = entry_.askChoice(
            {"Do not output computed PSD data to a file       ( 0 )", "just keep internally for plotting/analyzing"},
            "output computed PSD data to a file              ( 1 )", state_.psdToFile, {0, 1});
        if (state_.psdToFile == 1) {
            state_.spectrumFile = outputs_.askName("output file name for PSD data ", state_.spectrumFile);
            outName = state_.spectrumFile;
        }
        setUpFilter();
    }
    applyFilter(state_.spectrum, state_.response);
    if (!outName.empty()) {
        const console::FileWriteResult written = writeSpectrumFile(outName, state_.spectrum);
        if (!written)
            con().printWrapped("Could not write the file " + outName + ": " + written.reason +
                               ". The spectrum is kept for plotting only.");
    }
    con().printLine("  ALL DONE GENERATING " + console::basicNumber(double(state_.spectrum.binCount())) +
                    " power spectrum density values");
    waitKey();
}

std::optional<FrequencyPairs> HumsiftProgram::askFrequencyPairs()
{
    for (;;) {
        const std::string name =
            entry_.askText("file name containing the power spectrum freq vs amp data  ", state_.spectrumFile);
        if (name.empty())
            continue;
        auto pairs = readFrequencyPairs(name);
        if (!pairs) {
            con().printLine("file does not exist.  try again");
            waitKey();
            continue;
        }
        const std::string skipped =
            skippedLines(pairs->badLines, pairs->firstBadLine, "not a frequency and an amplitude");
        if (pairs->mostlyNotPairs() || pairs->first.size() < 2) {
            con().printWrapped(
                "The file " + name + " holds " +
                countOf(pairs->first.size(), "frequency and amplitude pair", "frequency and amplitude pairs") +
                (pairs->badLines > 0 ? "; " + skipped : ".") + " It cannot be used.");
            waitKey();
            return std::nullopt;
        }
        if (pairs->badLines > 0)
            con().printWrapped(skipped);
        state_.spectrumFile = name;
        return pairs;
    }
}

bool HumsiftProgram::readSpectrumFile()
{
    auto pairs = askFrequencyPairs();
    if (!pairs)
        return false;
    outputs_.addAnalysed(state_.spectrumFile);
    // The analysis walks the bins upward: pairs out of order are put in frequency order.
    sortByFirst(*pairs);
    state_.spectrum = spectrumFromPairs(*pairs);
    computeResponse(); // the filter as set up, over the new bins
    con().printLine("***** total number of PSD freq vs Amplitude data pairs read  " +
                    console::basicNumber(double(state_.spectrum.binCount())));
    con().printLine("      Maximum frequency value in the file  " +
                    console::basicNumber(state_.spectrum.lastFrequency()) + "  Hz");
    return true;
}

} // namespace vorn::humsift
