// Feeds arbitrary bytes to Humgather's decoders of what a unit answers: examine answers of any
// parameter and of any length (a unit may answer short and be timed out), and position records
// with their phasing test. Nothing may read past an answer, and the lines shown stay in step.
#include "fuzz_check.h"
#include "vorn/humgather/examine_answers.h"
#include "vorn/humgather/position_record.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <vector>

namespace {

using vorn::fuzz::check;

void examineAnswer(FuzzedDataProvider& input)
{
    using namespace vorn::humgather;
    const int parameter = input.ConsumeIntegral<std::uint8_t>();
    ExamineContext context;
    context.addressingAnswer = input.ConsumeIntegralInRange(0, 2);
    context.timerTickMicroseconds = input.PickValueInArray({0.4f, 0.32f, 0.25f, 0.2f});
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 300);
    // A heap copy of exactly the answer's bytes, so that reading past it is caught.
    const std::vector<std::uint8_t> answer = input.ConsumeBytes<std::uint8_t>(length);
    const ExamineOutcome outcome = describeExamineAnswer(parameter, answer, context);
    for (const std::size_t pause : outcome.pauseAfterLine)
        check(pause <= outcome.lines.size());
    if (outcome.revision)
        check(std::isfinite(*outcome.revision));
    if (outcome.positionScale)
        check(std::isfinite(*outcome.positionScale));
}

void positionRecord(FuzzedDataProvider& input)
{
    using namespace vorn::humgather;
    const int extraBytes = input.ConsumeIntegralInRange(0, 1);
    const bool groupMode = input.ConsumeBool();
    const std::vector<std::uint8_t> record = input.ConsumeBytes<std::uint8_t>(recordLength(extraBytes, groupMode));
    if (record.size() < recordLength(extraBytes, groupMode))
        return;
    if (checkPhasing(record) != PhasingFault::None)
        return;
    const PositionRecord decoded = decodeRecord(record, extraBytes, groupMode);
    for (const std::int16_t word : decoded.words)
        check((word & 3) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool())
        examineAnswer(input);
    else
        positionRecord(input);
    return 0;
}
