#pragma once

#include "LiveServer.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A fresh database with one branch, two services and a small catalogue of dishes (with a group),
// products (with a group), dish types and nutrients. Each test adds the menu and contract of its
// case, then starts the server.
//
// Dishes: G1 "Grupo Carnes" (group) with D1 "Bife" and D2 "Frango"; D3 "Arroz"; D4 "Ébano" and
// D5 "Zeta", whose names order differently by code point than by dictionary. Products: PG "Grupo
// Óleos" (group) with P1 "Azeite" and P2 "Óleo de soja"; P3 "Sal". Nutrients N1 "Sódio", N2 "Cálcio".
// March 2026 begins on a Sunday: its week span runs from Monday 2026-02-23 to Sunday 2026-04-05.
class MenuFixture : public ::testing::Test {
protected:
    MenuFixture();

    void sql(const std::string& statements) { db_.exec(statements); }
    // A menu item of service 001 unless told otherwise; IDOPCCNFMES 'S' when option.
    void item(const std::string& day, int seq, const std::string& dish, bool option = false, int order = 1,
              const std::string& service = "001");
    void line(const std::string& day, int seq, const std::string& product, double quantity,
              const std::string& service = "001");

    RpcSession& session();
    LiveServer& server();

    TestDatabase db_;

private:
    std::unique_ptr<LiveServer> server_;
    std::unique_ptr<RpcSession> session_;
};

// The branch, services and catalogue every case starts from (the rows the fixture's comment lists).
const char* catalogueSql();

// The month of the examples: F, S, P, U.
nlohmann::json march();
nlohmann::json marchWeeks();
