#!/usr/bin/env python3
"""Draws the player's icon as SVG: an open doorway with a warm light falling out of it onto a floor,
under an arch, on a dark rounded tile. Writes data/taviro-player.svg (or the path given)."""
import math
import sys

SIZE = 256


def arch_path(left, right, bottom, spring):
    """A doorway: straight sides up to `spring`, then a round arch."""
    radius = (right - left) / 2
    centre = left + radius
    return (f"M {left} {bottom} L {left} {spring} "
            f"A {radius} {radius} 0 0 1 {right} {spring} L {right} {bottom} Z"), centre, radius


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "data/taviro-player.svg"
    door, centre, radius = arch_path(84, 172, 204, 112)
    inner, _, _ = arch_path(96, 160, 204, 118)
    # Rays of light fanning out of the doorway onto the floor.
    rays = []
    for i in range(7):
        angle = math.radians(-60 + i * 20)
        x = centre + math.sin(angle) * 110
        rays.append(f"M {centre - 6} 204 L {centre + 6} 204 L {x + 10:.1f} 236 L {x - 10:.1f} 236 Z")
    svg = f"""<?xml version="1.0" encoding="UTF-8"?>
<!-- Drawn by tools/make-icon.py -->
<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" viewBox="0 0 {SIZE} {SIZE}">
  <defs>
    <linearGradient id="night" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#2b2347"/>
      <stop offset="1" stop-color="#5a4536"/>
    </linearGradient>
    <radialGradient id="glow" cx="0.5" cy="0.75" r="0.7">
      <stop offset="0" stop-color="#fff3c4"/>
      <stop offset="0.6" stop-color="#f5b642"/>
      <stop offset="1" stop-color="#c46a1c"/>
    </radialGradient>
  </defs>
  <rect x="8" y="8" width="240" height="240" rx="44" fill="url(#night)"/>
  <g fill="#f5b642" opacity="0.35">
    {''.join(f'<path d="{ray}"/>' for ray in rays)}
  </g>
  <path d="{door}" fill="#3b2a1e" stroke="#1e140d" stroke-width="6"/>
  <path d="{inner}" fill="url(#glow)"/>
  <circle cx="200" cy="52" r="10" fill="#fff3c4" opacity="0.9"/>
  <rect x="8" y="204" width="240" height="8" fill="#1e140d" opacity="0.6"/>
</svg>
"""
    with open(out, "w", encoding="utf-8") as file:
        file.write(svg)


if __name__ == "__main__":
    main()
