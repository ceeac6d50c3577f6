// Bloom blur: one direction of a separable Gaussian blur with five taps
// (linear filtering makes them nine texels).
//   blurimage    the image, texture unit 0
//   blur_offset  xy: the step between taps in texture coordinates;
//                z: extra gain (0: none)
uniform sampler2D blurimage;
uniform vec3 blur_offset;
varying vec2 uv;

void main()
{
    vec2 step1 = blur_offset.xy * 1.3846153846;
    vec2 step2 = blur_offset.xy * 3.2307692308;
    vec4 colour = texture2D(blurimage, uv) * 0.2270270270;
    colour += (texture2D(blurimage, uv + step1) + texture2D(blurimage, uv - step1)) * 0.3162162162;
    colour += (texture2D(blurimage, uv + step2) + texture2D(blurimage, uv - step2)) * 0.0702702703;
    gl_FragColor = colour * (1.0 + blur_offset.z);
}
