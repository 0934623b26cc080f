#!/usr/bin/python3
"""The peer of vmd3-stitch in the benchmarks: OpenCV's Stitcher (Debian's
python3-opencv) in panorama mode on the same photos, writing OUT.

    opencv_stitch.py OUT PHOTO...

Exit status 0 when OpenCV stitched, 1 when it could not, 2 without OpenCV.
"""
import sys

try:
    import cv2
except ImportError:
    sys.exit(2)


def main():
    out, paths = sys.argv[1], sys.argv[2:]
    photos = [cv2.imread(p) for p in paths]
    if any(p is None for p in photos):
        return 1
    stitcher = cv2.Stitcher_create(cv2.Stitcher_PANORAMA)
    status, pano = stitcher.stitch(photos)
    if status != cv2.Stitcher_OK:
        return 1
    return 0 if cv2.imwrite(out, pano) else 1


if __name__ == "__main__":
    sys.exit(main())
