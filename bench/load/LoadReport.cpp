#include "LoadReport.h"

#include "Statistics.h"

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

Growth residentGrowth(const std::vector<long>& residentKiBPerRound) {
    Growth growth;
    if (residentKiBPerRound.size() < 3)
        return growth;
    growth.known = true;
    growth.fromKiB = residentKiBPerRound[1];
    growth.toKiB = residentKiBPerRound.back();
    growth.kibPerRound =
        static_cast<double>(growth.kib()) / static_cast<double>(residentKiBPerRound.size() - 2);
    growth.flat = growth.percent() < kFlatPercent;
    return growth;
}

std::string growthText(const Growth& growth, int rounds) {
    if (!growth.known)
        return "memória: " + std::to_string(rounds) +
               " rodada(s) não medem crescimento (são precisas três: a primeira aquece os caches)";
    return "memória (VmRSS) da rodada 2 à " + std::to_string(rounds) + ": " + std::to_string(growth.fromKiB) +
           " -> " + std::to_string(growth.toKiB) + " KiB, " + (growth.kib() >= 0 ? "+" : "") +
           std::to_string(growth.kib()) + " KiB (" + format("%+.2f", growth.percent()) + "%, " +
           format("%+.1f", growth.kibPerRound) + " KiB por rodada): " + (growth.flat ? "estável" : "CRESCE") +
           " (limite " + format("%.0f", kFlatPercent) + "%)";
}

} // namespace load
