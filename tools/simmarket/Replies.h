#pragma once

#include "simmarket/MarketModel.h"

#include <string>
#include <vector>

namespace glimmer::sim {

/// How a reply is bent by a fault before it is encoded: the normal reply, its data array emptied
/// (how Eastmoney answers when it throttles), or "data": null.
enum class ReplyShape { Normal, EmptyArray, NullData };

/// Reply bodies of the eight provider endpoints, built from views of the market model.
namespace Replies {

/// The 88 "~"-separated snapshot fields of the Tencent quote format (the last one empty, so the
/// joined payload ends in "~").
std::vector<std::string> quoteFields(const SimView& view);
/// `v_<symbol>="…";` lines of the Tencent batch snapshot; `v_pv_none_match="1";` when none.
std::string snapshot(const std::vector<SimView>& views, ReplyShape shape);
/// Eastmoney trends2 reply; `known` false gives the unknown-id reply.
std::string trends(const SimView* view, ReplyShape shape);
/// Eastmoney fund-flow minute klines (from 09:31).
std::string eastmoneyFlow(const SimView* view, ReplyShape shape);
/// Tencent minute query: "qt" and the "HHmm price cumVolume cumTurnover" lines.
std::string tencentMinutes(const std::string& symbol, const SimView* view, ReplyShape shape);
/// Tencent fund-flow table ("todayFundTrend"."minList").
std::string tencentFlow(const std::string& symbol, const SimView* view, ReplyShape shape);
/// Tencent day candles: "qfqday" rows for adjusted requests of stocks and funds, "day" otherwise.
std::string tencentCandles(const std::string& symbol, const SimView* view, const std::vector<SimCandle>& candles,
                           bool adjusted, ReplyShape shape);
/// Sina daily candles: a JSON array of objects with string values (volume in shares).
std::string sinaCandles(const SimView* view, const std::vector<SimCandle>& candles, ReplyShape shape);
/// Tencent suggestion: v_hint="mkt~code~\uXXXX…~pinyin~type^…"; and v_hint="N"; for no hit.
std::string suggestion(const std::vector<Security>& hits, ReplyShape shape);

/// "\u" escapes for every non-ASCII character (UTF-16 code units).
std::string escapeUnicode(const std::string& utf8);
/// yyyy-MM-dd of a day number.
std::string isoDate(int day);

} // namespace Replies

} // namespace glimmer::sim
