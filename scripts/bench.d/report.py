"""The table of figures: each with its target and PASS or MISS."""
import datetime
import os


def row(figure, program, value, target=None, met=None):
    """met: True, False, or None for a figure without a target."""
    if met is None:
        result = "-"
    else:
        result = "PASS" if met else "MISS"
    return {"figure": figure, "program": program, "value": value, "target": target or "-",
            "result": result}


def not_measured(figure, program, why, target=None):
    return {"figure": figure, "program": program, "value": f"not measured ({why})",
            "target": target or "-", "result": "MISS" if target else "-"}


def table(rows):
    head = ["Figure", "Program", "Measured", "Target", "Result"]
    cells = [[r["figure"], r["program"], r["value"], r["target"], r["result"]] for r in rows]
    widths = [max(len(line[i]) for line in [head] + cells) for i in range(len(head))]

    def line(values):
        return "| " + " | ".join(v.ljust(w) for v, w in zip(values, widths)) + " |"

    rule = "|" + "|".join("-" * (w + 2) for w in widths) + "|"
    return "\n".join([line(head), rule] + [line(c) for c in cells])


def write_markdown(path, rows, notes, seconds):
    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    missed = sum(1 for r in rows if r["result"] == "MISS")
    text = [
        "# Performance",
        "",
        f"Made by `scripts/bench` on {now}, on a machine with {os.cpu_count()} cores, "
        f"in {seconds:.0f} s. Do not edit: run the script again.",
        "",
        table(rows),
        "",
        f"{len(rows)} figures, {missed} missing their target.",
        "",
        "## How each figure is taken",
        "",
    ]
    text += [f"- {note}" for note in notes]
    with open(path, "w") as file:
        file.write("\n".join(text) + "\n")
