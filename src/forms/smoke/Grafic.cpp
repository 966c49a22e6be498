#include "forms/smoke/Grafic.h"

#include <cmath>
#include <limits>
#include <string>

#include "forms/Program.h"
#include "forms/shell/PrintPage.h"
#include "platform/forms/Chart.h"

namespace vs {

namespace {

constexpr int kWidth = 723, kHeight = 500;  // client area
constexpr int kChartHeight = 400;
constexpr int kTimeTicks = 20;  // one every two rows: 0.5 s

double OrNothing(const std::optional<double>& v) {
  return v ? *v : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

Grafic::Grafic(Program& p) : plat::Form(p.rt.forms, "Grafic"), p_(p) {
  setCaption("Graph");
  setBackColor(plat::colors::kWhite);
  setBorderStyle(plat::BorderStyle::FixedSingle);
  setStartUpPosition(plat::StartUpPosition::CenterScreen);
  setSize(kWidth, kHeight);

  MSChart1.Move(0, 0, kWidth, kChartHeight);
  MSChart1.setBackColor(plat::colors::kWhite);
  MSChart1.setFont({"Arial", 9, false, false});
  MSChart1.setTitleText("SINGLE  ACCELERATION");
  // The time column holds seconds.
  MSChart1.setAxisTitle(plat::ChartAxis::X, "Time, sec");
  MSChart1.setAxisTitle(plat::ChartAxis::Y, "Opacity x 10, k  -  RPM / 100, rpm");
  MSChart1.setShowLegend(true);
  const char* names[] = {"C1", "Opacity", "RPM", "RPMmin", "RPMmax"};
  for (int c = 1; c <= 5; ++c) MSChart1.setColumnLabel(c, names[c - 1]);
  MSChart1.setSeriesColor(2, plat::colors::kRed);
  MSChart1.setSeriesColor(3, plat::colors::kBlue);
  MSChart1.setSeriesColor(4, 0x008000);  // dark green
  MSChart1.setSeriesColor(5, 0xFF00FF);  // magenta

  // The time ticks stand under the chart's own tick marks, one every two rows.
  const plat::ChartGeometry g = plat::ChartLayout(kWidth, kChartHeight, true);
  for (int j = 0; j < kTimeTicks; ++j) {
    plat::Label& l = LabelTime(j);
    const int row = 2 * (j + 1);
    const double x = g.plotX + row * g.plotW / (smoke::kChartRows - 1);
    const double seconds = row * 0.25;
    l.setCaption(seconds == std::floor(seconds) ? std::to_string(static_cast<int>(seconds))
                                                : std::to_string(static_cast<int>(seconds)) + ".5");
    l.setTransparent(true);
    l.setAlignment(plat::Alignment::Center);
    l.setFont({"Arial", 8, false, false});
    l.Move(static_cast<int>(std::lround(x)) - 15, static_cast<int>(g.plotY + g.plotH) + 5, 30, 13);
  }

  Label39.setCaption("");
  Label39.setBackColor(plat::colors::kWhite);
  Label39.setBorderSingle(true);
  Label39.setAlignment(plat::Alignment::Center);
  Label39.setFont({"Arial", 18.75, true, false});
  Label39.Move(8, 404, 404, 92);
  Label4.setCaption("RPM");
  Label4.setAlignment(plat::Alignment::Center);
  Label4.setFont({"Arial", 12, true, false});
  Label4.Move(424, 408, 150, 24);
  Label3.setCaption("10000");
  Label3.setAlignment(plat::Alignment::Center);
  Label3.setBorderSingle(true);
  Label3.setFont({"Arial", 21.75, true, false});
  Label3.Move(424, 436, 150, 48);
  Command1.setStyle(plat::ButtonStyle::Graphical);
  Command1.setPicture("close");
  Command1.setCaption("");
  Command1.setCancel(true);
  Command1.Move(600, 420, 52, 52);
  Command2.setStyle(plat::ButtonStyle::Graphical);
  Command2.setPicture("print");
  Command2.setCaption("");
  Command2.Move(660, 420, 52, 52);

  Command1.onClick = [this] { Unload(); };
  Command2.onClick = [this] { Command2_Click(); };
}

void Grafic::ShowAcceleration(const smoke::ChartTable& table) {
  Unload();
  next_ = table;
  Show();
}

std::vector<std::vector<double>> Grafic::ChartRows(const smoke::ChartTable& table) {
  std::vector<std::vector<double>> rows;
  rows.reserve(table.size());
  for (const smoke::ChartPoint& r : table) {
    rows.push_back({OrNothing(r.time), OrNothing(r.k10), OrNothing(r.rpm100),
                    OrNothing(r.rpmMin100), OrNothing(r.rpmMax100)});
  }
  return rows;
}

void Grafic::Form_Load() {
  const ShellState& s = p_.shell;
  Command2.setToolTipText(s.LangText[lang::StampaOpaStampa]);
  smoke::SetChartLimitLines(p_.anfumo.SmokeChartData, s.SmokeRpmMin, s.SmokeRpmMax);
  smoke::ChartTable table = next_ ? *next_ : p_.anfumo.SmokeChartData;
  next_.reset();
  smoke::SetChartLimitLines(table, s.SmokeRpmMin, s.SmokeRpmMax);
  MSChart1.setChartData(ChartRows(table));
}

void Grafic::Command2_Click() {
  HiddenWhilePrinting hidden{&Command2, &Command1, &Label39, &Label3, &Label4};
  PrintForm(1);
}

}  // namespace vs
