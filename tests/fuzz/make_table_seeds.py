#!/usr/bin/env python3
"""Writes the seed inputs of table_blocks_fuzz (format: table_steps.h).

    tests/fuzz/make_table_seeds.py tests/fuzz/table_corpus
"""
import pathlib
import sys

MOVE, BLOCK, LEAVE, RETURN, RUN = range(5)
HOLD = 0x80


def tag(step, seat, hold=False):
    return (step << 2) | seat | (HOLD if hold else 0)


def rounds(count, pick=0):
    """Every seat in turn offers a legal move; only the one asked counts."""
    out = bytearray()
    for i in range(count):
        out += bytes([tag(MOVE, i % 4), (pick + i) % 256])
    return out


def block(seat, text):
    data = text.encode("latin-1")
    return bytes([tag(BLOCK, seat), len(data)]) + data


seeds = {
    "whole_game": bytes([1]) + rounds(6000),
    "leave_mid_deal_and_return": bytes([2]) + rounds(90) + bytes([tag(LEAVE, 2)]) + rounds(200, 3)
    + bytes([tag(RETURN, 2)]) + rounds(1500, 5),
    "refused_blocks_then_bot": bytes([3]) + rounds(3) + block(0, "bid  11") + block(0, "scard\x0b")
    + block(0, "next 9") + block(1, "join") + rounds(600, 7),
    "everyone_leaves": bytes([4]) + rounds(40) + bytes([tag(LEAVE, s) for s in range(4)])
    + bytes([tag(RUN, 0)]) + bytes([tag(RETURN, 1)]) + rounds(400),
    "moves_held_in_one_turn": bytes([5]) + bytes(b for i in range(800) for b in (tag(MOVE, i % 4, True), i % 7)),
}

folder = pathlib.Path(sys.argv[1])
folder.mkdir(parents=True, exist_ok=True)
for name, data in seeds.items():
    (folder / name).write_bytes(data)
