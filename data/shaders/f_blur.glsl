// Bloom blur: one direction of a separable Gaussian blur over nine taps.
//   blurimage    the image, texture unit 0
//   blur_offset  xy: the step between taps in texture coordinates;
//                z: the spread (standard deviation) in steps
// The weights are normalised, so the blur keeps the image's brightness.
uniform sampler2D blurimage;
uniform vec3 blur_offset;
varying vec2 uv;

void main()
{
    float spread = max(blur_offset.z, 0.5);
    vec4 sum = vec4(0.0);
    float weights = 0.0;
    for (int i = -4; i <= 4; ++i) {
        float x = float(i);
        float weight = exp(-x * x / (2.0 * spread * spread));
        sum += texture2D(blurimage, uv + blur_offset.xy * x) * weight;
        weights += weight;
    }
    gl_FragColor = sum / weights;
}
