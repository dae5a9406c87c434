#include "LoadReport.h"

#include "Statistics.h"

#include <algorithm>
#include <cstdio>

namespace load {
namespace {

std::string format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

std::string kib(const std::optional<MemorySample>& memory, long MemorySample::*field) {
    return memory ? std::to_string((*memory).*field) : "?";
}

} // namespace

std::string tableHeader(bool rounds) {
    if (rounds)
        return "| motor | N | M | rodada | chamadas | chamadas/s | mediana ms | p99 ms | erros | pico KiB | "
               "RSS KiB |\n"
               "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|";
    return "| motor | N | M | chamadas | chamadas/s | mediana ms | p99 ms | erros | pico KiB | RSS KiB |\n"
           "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|";
}

std::string tableLine(const ReportLine& line) {
    const LoadOutcome& outcome = *line.outcome;
    std::string text = "| " + line.engine + " | " + std::to_string(line.sessions) + " | " +
                       std::to_string(line.callsPerSession) + " | ";
    if (line.round)
        text += std::to_string(*line.round) + " | ";
    text += std::to_string(outcome.calls) + " | " + format("%.1f", outcome.callsPerSecond()) + " | " +
            format("%.3f", bench::median(outcome.latencyMs)) + " | " +
            format("%.3f", bench::percentile(outcome.latencyMs, 99)) + " | " +
            std::to_string(outcome.errors) + " | " + kib(line.memory, &MemorySample::peakKiB) + " | " +
            kib(line.memory, &MemorySample::residentKiB) + " |";
    return text;
}

namespace {

Growth between(const std::vector<long>& resident, int fromRound) {
    Growth growth;
    growth.known = true;
    growth.fromRound = fromRound;
    growth.toRound = static_cast<int>(resident.size());
    growth.fromKiB = resident[static_cast<std::size_t>(fromRound - 1)];
    growth.toKiB = resident.back();
    return growth;
}

std::string growthText(const Growth& growth) {
    return "da rodada " + std::to_string(growth.fromRound) + " à " + std::to_string(growth.toRound) + ": " +
           std::to_string(growth.fromKiB) + " -> " + std::to_string(growth.toKiB) + " KiB, " +
           (growth.kib() >= 0 ? "+" : "") + std::to_string(growth.kib()) + " KiB (" +
           format("%+.2f", growth.percent()) + "%, " + format("%+.1f", growth.kibPerRound()) +
           " KiB por rodada)";
}

} // namespace

MemoryVerdict judgeMemory(const std::vector<long>& residentKiBPerRound) {
    MemoryVerdict verdict;
    const int rounds = static_cast<int>(residentKiBPerRound.size());
    if (rounds < 3)
        return verdict;
    verdict.afterWarmUp = between(residentKiBPerRound, 2);
    verdict.steady = between(residentKiBPerRound, std::max(2, (rounds + 1) / 2));
    verdict.flat = verdict.steady.percent() < kFlatPercent;
    return verdict;
}

std::string verdictText(const MemoryVerdict& verdict) {
    if (!verdict.afterWarmUp.known)
        return "memória: menos de três rodadas não medem crescimento (a primeira aquece os caches)";
    return "memória (VmRSS) " + growthText(verdict.afterWarmUp) + "; em regime " +
           growthText(verdict.steady) + ": " + (verdict.flat ? "estável" : "CRESCE") + " (limite " +
           format("%.0f", kFlatPercent) + "% em regime)";
}

} // namespace load
