// The control endpoint under /_sim/: JSON in, JSON out, for tests and demos driving a running
// market from outside the process.
#include "simmarket/SimMarket.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <map>

namespace glimmer::sim {

namespace {

using Json = nlohmann::ordered_json;

void answer(httplib::Response& response, int status, const Json& body) {
    response.status = status;
    response.set_content(body.dump(2) + "\n", "application/json; charset=utf-8");
}

void fail(httplib::Response& response, int status, const std::string& message) {
    answer(response, status, Json{{"ok", false}, {"error", message}});
}

Json ruleJson(const SimFaultRule& rule) {
    return Json{{"family", rule.family}, {"host", rule.host}, {"kind", SimFaults::describe(rule.fault)}};
}

double number(const Json& body, const char* key) {
    const auto found = body.find(key);
    return found != body.end() && found->is_number() ? found->get<double>() : 0.0;
}

} // namespace

void SimMarket::control(const httplib::Request& request, httplib::Response& response) {
    const std::string what = request.path.substr(6); // after "/_sim/"
    const bool isPost = request.method == "POST";
    Json body = Json::object();
    if (isPost && !request.body.empty()) {
        body = Json::parse(request.body, nullptr, false);
        if (body.is_discarded() || !body.is_object()) return fail(response, 400, "the body is not a JSON object");
    }
    auto text = [&body](const char* key) {
        const auto found = body.find(key);
        return found != body.end() && found->is_string() ? found->get<std::string>() : std::string();
    };

    if (!isPost && (what.empty() || what == "status")) {
        Json faultList = Json::array();
        for (const SimFaultRule& rule : faults()) faultList.push_back(ruleJson(rule));
        Json origins = Json::array();
        for (std::size_t i = 0; i < listenerCount(); ++i) origins.push_back(origin(i));
        Json holidays = Json::array();
        for (const int day : market.holidays()) holidays.push_back(Replies::isoDate(day));
        return answer(response, 200,
                      Json{{"ok", true},
                           {"time", formatChinaTime(now())},
                           {"seed", market.seed()},
                           {"holidays", holidays},
                           {"origins", origins},
                           {"endpoints", Json::parse(endpointsJson())},
                           {"faults", faultList}});
    }
    if (!isPost && what == "counters") {
        std::map<std::string, std::size_t> families;
        std::map<std::string, std::size_t> hosts;
        std::map<std::string, std::size_t> both;
        const std::vector<SimRequest> all = requests();
        for (const SimRequest& r : all) {
            ++families[r.family];
            ++hosts[r.host];
            ++both[r.family + "@" + r.host];
        }
        return answer(
            response, 200,
            Json{{"ok", true}, {"total", all.size()}, {"families", families}, {"hosts", hosts}, {"familyHosts", both}});
    }
    if (!isPost && what == "log") {
        Json list = Json::array();
        for (const SimRequest& r : requests()) {
            list.push_back(Json{{"seq", r.sequence},
                                {"family", r.family},
                                {"host", r.host},
                                {"target", r.target},
                                {"time", formatChinaTime(r.time)}});
        }
        return answer(response, 200, Json{{"ok", true}, {"requests", list}});
    }
    if (!isPost && what == "view") {
        const std::optional<SimView> v = view(request.get_param_value("code"));
        if (!v) return fail(response, 404, "unknown code");
        return answer(response, 200,
                      Json{{"ok", true},
                           {"symbol", v->security.symbol},
                           {"name", v->security.name},
                           {"price", v->price},
                           {"prevClose", v->prevClose},
                           {"open", v->open},
                           {"high", v->high},
                           {"low", v->low},
                           {"volume", v->volume},
                           {"amount", v->amount},
                           {"minutes", v->minutes.size()}});
    }
    if (!isPost) return fail(response, 404, "unknown control request " + request.path);

    if (what == "log/clear") {
        clearRequests();
    } else if (what == "fault") {
        SimFaultRule rule;
        std::string error;
        const std::string written = text("rule");
        bool ok = false;
        if (!written.empty()) {
            ok = SimFaults::parse(written, rule, error);
        } else {
            rule.family = text("family").empty() ? "*" : text("family");
            rule.host = text("host");
            ok = SimFaults::isFamily(rule.family) && SimFaults::parseKind(text("kind"), rule.fault, error);
            if (!SimFaults::isFamily(rule.family)) error = "unknown endpoint family \"" + rule.family + "\"";
        }
        if (!ok) return fail(response, 400, error);
        setFault(rule);
    } else if (what == "faults/clear") {
        clearFaults();
    } else if (what == "pin") {
        const std::string code = text("code");
        const double price = number(body, "price");
        if (code.empty() || price <= 0) return fail(response, 400, "pin needs \"code\" and a positive \"price\"");
        pin(code, price, number(body, "prevClose"));
    } else if (what == "script") {
        const std::string code = text("code");
        std::vector<double> prices;
        const auto list = body.find("prices");
        if (list != body.end() && list->is_array()) {
            for (const Json& p : *list)
                if (p.is_number() && p.get<double>() > 0) prices.push_back(p.get<double>());
        }
        if (code.empty() || prices.empty()) return fail(response, 400, "script needs \"code\" and \"prices\"");
        script(code, std::move(prices), number(body, "stepSeconds"));
    } else if (what == "pins/clear") {
        clearPins();
    } else if (what == "clock") {
        const std::string time = text("time");
        Instant instant;
        bool ok = true;
        if (!time.empty()) {
            if (!parseChinaTime(time, instant)) return fail(response, 400, "time must be \"yyyy-MM-dd HH:mm[:ss]\"");
            ok = setTime(instant);
        }
        if (body.contains("advance")) ok = ok && advance(number(body, "advance"));
        if (!ok) return fail(response, 409, "an outside clock drives this market");
    } else if (what == "reset") {
        reset();
    } else {
        return fail(response, 404, "unknown control request " + request.path);
    }
    answer(response, 200, Json{{"ok", true}, {"time", formatChinaTime(now())}});
}

} // namespace glimmer::sim
