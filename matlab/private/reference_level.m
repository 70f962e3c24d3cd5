function level = reference_level(x)
%REFERENCE_LEVEL  The grey level of every value of X, by the rule both plug-ins share.
%   LEVEL = reference_level(X): truncate toward zero; NaN, and truncations
%   outside the signed 32-bit range, become -2^31; then clamp to 0..255.
%   Part of the plain M reference that vesk_selftest compares with.

truncated = fix(x);
truncated(isnan(truncated) | truncated < -2^31 | truncated > 2^31 - 1) = -2^31;
level = min(max(truncated, 0), 255);
end
