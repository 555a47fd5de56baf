# -*- coding: utf-8 -*-
# Copyright: the QBR20G setup team
# MIT License (see LICENSE)
"""Runs qbr20g-cli on the managed host and reads its JSON rows.

The modules of this collection never build a frame themselves: every exchange with a bridge is
qbr20g-cli's, with its checks, waits and messages. Secrets go to it on standard input, never on
its command line, where every user of the host could read them.
"""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

import json
import os

# qbr20g-cli's exit statuses.
EXIT_DONE = 0
EXIT_NOT_CONFIRMED = 1
EXIT_USAGE = 2
EXIT_NO_ADAPTER = 3
EXIT_NO_BRIDGE = 4
EXIT_INTERRUPTED = 130

# The options that every module of the collection takes.
COMMON_ARGUMENT_SPEC = dict(
    adapter=dict(type="str"),
    parallel=dict(type="int"),
    cli_path=dict(type="path", default="qbr20g-cli"),
)


def cli_command(module):
    """qbr20g-cli's path and the options that come before the command."""
    path = module.params["cli_path"]
    if os.sep not in path:
        path = module.get_bin_path(path, required=True)
    elif not os.access(path, os.X_OK):
        module.fail_json(msg="%s is not an executable program (cli_path)" % path)
    return [path, "--json", "--quiet"]


def target_options(module):
    """--adapter and --parallel as the module's parameters give them."""
    args = []
    if module.params["adapter"]:
        args += ["--adapter", module.params["adapter"]]
    if module.params["parallel"] is not None:
        args += ["--parallel", str(module.params["parallel"])]
    return args


def bridge_options(macs):
    args = []
    for mac in macs or []:
        args += ["--bridge", mac]
    return args


class CliRun(object):
    """One run of qbr20g-cli: its exit status, its rows and what it said on stderr."""

    def __init__(self, command, status, rows, message):
        self.command = command
        self.status = status
        self.rows = rows
        self.message = message


def run_cli(module, args, secrets=None):
    """Runs qbr20g-cli with `args` after its common options; `secrets` (text) go to its
    standard input. Fails the task when the output is not the JSON document it writes."""
    command = cli_command(module) + args
    status, out, err = module.run_command(
        command, data=secrets, binary_data=secrets is not None, check_rc=False)
    message = " ".join(line.strip() for line in err.splitlines() if line.strip())
    rows = []
    if out.strip():
        try:
            rows = json.loads(out)
        except ValueError as error:
            module.fail_json(msg="qbr20g-cli wrote output that is not JSON (%s): %s"
                             % (error, out[:200]), rc=status, stderr=err)
        if not isinstance(rows, list):
            module.fail_json(msg="qbr20g-cli wrote JSON that is not a list of rows",
                             rc=status, stderr=err)
    return CliRun(command, status, rows, message)


def failure_message(run):
    """What to tell the user about a run that did not succeed: qbr20g-cli's own message, and
    each row that did not succeed with its bridge and reason."""
    parts = []
    if run.message:
        parts.append(run.message)
    for row in run.rows:
        if row.get("result") in ("failed", "silent", "interrupted", "not-started"):
            parts.append("%s: %s%s" % (row.get("bridge"), row.get("result"),
                                       ": " + row["message"] if row.get("message") else ""))
    if not parts:
        parts.append("qbr20g-cli ended with exit status %d" % run.status)
    return "; ".join(parts)
