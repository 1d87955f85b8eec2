#!/usr/bin/env python3
"""The real program on its own Xvfb display against glimmer-simmarket for MINUTES minutes, with
random faults switched through the market's control endpoint every few seconds and 30 securities
refreshed every 5 s. Passes when the program is still running at the end, its refresh trace kept
coming through the whole run, the card never fell back from a price to its loading text, and its
card window still exists. Used by `scripts/soak MINUTES --app`."""

import json, os, random, re, shutil, signal, subprocess, sys, tempfile, time, urllib.request

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.join(root, "build", "release")
minutes = float(sys.argv[1]) if len(sys.argv) > 1 else 3
seconds = minutes * 60

subprocess.run(["cmake", "--build", build, "--parallel", str(os.cpu_count() or 2), "--target", "glimmerbox",
                "glimmer-simmarket"], check=True, stdout=subprocess.DEVNULL)

work = tempfile.mkdtemp(prefix="glimmer-soak-app-")
procs = []

def start(args, out, env=None):
    p = subprocess.Popen(args, stdout=open(out, "w"), stderr=subprocess.STDOUT, env=env)
    procs.append(p)
    return p

def cleanup():
    for p in reversed(procs):
        if p.poll() is None:
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
    shutil.rmtree(work, ignore_errors=True)

try:
    display = next(f":{n}" for n in range(250, 300)
                   if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"))
    start(["Xvfb", display, "-screen", "0", "1440x900x24", "-nolisten", "tcp"], os.path.join(work, "xvfb.txt"))
    for _ in range(50):
        if subprocess.run(["xdpyinfo", "-display", display], capture_output=True).returncode == 0:
            break
        time.sleep(0.1)

    endpoints = os.path.join(work, "endpoints.json")
    sim_out = os.path.join(work, "sim.txt")
    start([os.path.join(build, "glimmer-simmarket"), "--time", "2024-11-08 10:30", "--endpoints-file", endpoints],
          sim_out)
    control = None
    for _ in range(100):
        m = re.search(r"^control (http://[^/\s]+)", open(sim_out).read(), re.M)
        if m:
            control = m.group(1)
            break
        time.sleep(0.1)
    if not control:
        sys.exit("the simulated market did not start")

    home = os.path.join(work, "home")
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", HOME=home,
               XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_RUNTIME_DIR=os.path.join(work, "runtime"), GLIMMERBOX_ENDPOINTS=endpoints,
               GLIMMERBOX_REFRESH_TRACE="1")
    os.makedirs(os.path.join(home, "data", "Glimmerbox"))
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    codes = ["600519", "300750", "510300", "601318", "000858", "600036", "002594", "159915", "000333", "601012",
             "600900", "000001", "600030", "601899", "002415", "600276", "000651", "601166", "600887", "300059",
             "510050", "510500", "588000", "512880", "518880", "603001", "603002", "603003", "603004", "603005"]
    config = {"watchlist": [{"code": c, "name": "", "kind": "etf" if c[:2] in ("51", "15", "58") else "stock"}
                            for c in codes],
              "refreshSeconds": 5, "didImportHoldings": True, "autoLaunch": False}
    json.dump(config, open(os.path.join(home, "data", "Glimmerbox", "config.json"), "w"))
    faketime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
    if os.path.exists(faketime):
        # A Friday at 10:30 China time so the program polls at the trading-time rate.
        env.update(LD_PRELOAD=faketime, FAKETIME="@2024-11-08 02:30:00", FAKETIME_DONT_FAKE_MONOTONIC="1", TZ="UTC")
    else:
        print("libfaketime is missing: the program runs on the real clock and polls at its off-hours rate")
    app_out = os.path.join(work, "app.txt")
    app = start([os.path.join(build, "glimmerbox")], app_out, env)

    def post(path, body):
        req = urllib.request.Request(control + path, data=json.dumps(body).encode(), method="POST",
                                     headers={"Content-Type": "application/json"})
        urllib.request.urlopen(req, timeout=5).read()

    def rss_kb():
        for line in open(f"/proc/{app.pid}/status"):
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
        return 0

    rng = random.Random(1)
    families = ["trends", "fflow", "snapshot", "minute", "fundflow", "fqkline", "sina", "*"]
    kinds = ["status:500", "status:502", "status:503", "hang", "empty", "null", "notjson", "gbk", "close",
             "delay:3000"]
    hosts = ["", "eastmoney.main", "eastmoney.delayed", "eastmoney.history", "tencent.chart"]
    time.sleep(3)
    rss_start = rss_kb()
    began = time.monotonic()
    toggles, trace_by_quarter = 0, [0, 0, 0, 0]
    seen_lines = 0
    while time.monotonic() - began < seconds and app.poll() is None:
        post("/_sim/faults/clear", {})
        for _ in range(rng.randint(0, 3)):
            host = rng.choice(hosts)
            rule = rng.choice(families) + ("@" + host if host else "") + "=" + rng.choice(kinds)
            post("/_sim/fault", {"rule": rule})
        post("/_sim/log/clear", {})  # keep the market's own log from growing
        toggles += 1
        time.sleep(3)
        lines = open(app_out, errors="replace").read().count("刷新 快照=")
        quarter = min(3, int(4 * (time.monotonic() - began) / seconds))
        trace_by_quarter[quarter] += lines - seen_lines
        seen_lines = lines
    post("/_sim/faults/clear", {})
    alive = app.poll() is None
    rss_end = rss_kb() if alive else 0
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Glimmerbox$"], capture_output=True,
                            env=dict(os.environ, DISPLAY=display)).returncode == 0 if alive else False
    text = open(app_out, errors="replace").read()
    full = len(re.findall(r"刷新 快照=30 ", text))
    # What the card showed at each update: once a security had a price, faults must not take it away.
    card_updates, priced, lost = 0, set(), []
    for code, shown in re.findall(r"INFO 卡片 (\S+) (\S+)", text):
        card_updates += 1
        try:
            good = float(shown) > 0
        except ValueError:
            good = False
        if good:
            priced.add(code)
        elif code in priced:
            lost.append(f"{code} {shown}")
    kept = card_updates > 0 and not lost
    print(f"app soak: {time.monotonic() - began:.0f} s, 30 securities, refresh 5 s, {toggles} fault changes")
    print(f"program alive at the end    {'yes' if alive else 'NO (exit ' + str(app.returncode) + ')'}")
    print(f"refresh passes by quarter   {' '.join(map(str, trace_by_quarter))} (passes with all 30 quotes: {full})")
    print(f"card kept last good prices  {'yes' if kept else 'NO'} ({card_updates} card updates, "
          f"{len(priced)} securities shown with a price{', lost: ' + ', '.join(lost[:5]) if lost else ''})")
    print(f"card window at the end      {'present' if window else 'MISSING'}")
    print(f"resident memory             start {rss_start} kB, end {rss_end} kB")
    ok = alive and window and kept and all(n > 0 for n in trace_by_quarter)
    print("app soak passed" if ok else "app soak FAILED")
    sys.exit(0 if ok else 1)
finally:
    cleanup()
