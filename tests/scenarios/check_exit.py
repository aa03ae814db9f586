"""Runs a scenario that must fail and checks how: the exit status, and that what plexa-host
prints names the scenario file and each given line as FILE:LINE."""
import subprocess
import sys
import tempfile


def main() -> int:
    host, scenario, status = sys.argv[1], sys.argv[2], int(sys.argv[3])
    lines = sys.argv[4:]
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([host, "run", scenario, "--quiet", "--out", out],
                             capture_output=True, text=True)
    printed = run.stdout + run.stderr
    print(printed)
    ok = True
    if run.returncode != status:
        print(f"expected exit status {status}, got {run.returncode}")
        ok = False
    for line in lines:
        if f"{scenario}:{line}:" not in printed:
            print(f"expected {scenario}:{line}: in the output")
            ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
